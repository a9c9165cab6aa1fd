#pragma once
// The command line's grammar, free of Windows calls: where the argument text
// starts, which run mode its first letter asks for, and the window handle
// written after it. The glue in SaverMain_win.cpp checks handles against the
// windows that exist and runs the mode.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace WorkSpace {

enum class RunMode {
    ConfigureAlone,  // empty text: the configuration dialog, no parent window
    Configure,       // "c": the configuration dialog for the named or foreground window
    Save,            // "s": full screen
    Preview,         // "p" or "l": a child of the host window
    ChangePassword,  // "a": the Windows 9x family's password dialog
    Invalid,         // anything else: exit code -1
};

struct SwitchChoice {
    RunMode mode = RunMode::Invalid;
    // The handle written after the switch, 0 when there is none. For "c" it is
    // read only after a colon; for "p", "l" and "a" after the letter and blanks.
    uint32_t windowHandle = 0;
};

// Returns the offset of the argument text: past the program name (quoted or
// not) and every character from 1 to 32 after it.
std::size_t SkipProgramName(std::u16string_view commandLine);

// Returns the decimal number at the start of `text`, in 32-bit arithmetic that
// wraps on overflow; 0 when `text` starts with no digit.
uint32_t ParseWindowHandle(std::u16string_view text);

// Returns the run mode that the first letter of the argument text asks for.
SwitchChoice ParseSwitches(std::u16string_view arguments);

}  // namespace WorkSpace
