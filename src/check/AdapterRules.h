#pragma once
// Which display adapters the saver refuses to animate on, decided from the
// adapter's description and registry key text. The glue in SystemCheck_win.cpp
// reads the display device and the registry.
#include <string>
#include <string_view>

namespace WorkSpace {

// The only display device that is checked, matched exactly.
inline constexpr std::u16string_view kCheckedDisplayName = u"\\\\.\\DISPLAY1";

// The characters trimmed from both ends of the device's key text to give a
// path below HKEY_LOCAL_MACHINE.
inline constexpr std::u16string_view kKeyPrefixCharacters = u"\\Registry\\Machine\\";

// The registry value whose presence marks an adapter with reduced acceleration.
inline constexpr std::u16string_view kAccelerationValue = u"Acceleration.Level";

// Returns `key` without the characters of kKeyPrefixCharacters at its end,
// then at its start (a trim by character set, case-sensitive).
std::u16string TrimKeyPath(std::u16string_view key);

// Returns whether the description rejects the adapter: `reported` as the
// device gives it, `upper` the same text upper-cased by the platform's locale.
bool DescriptionRejects(std::u16string_view reported, std::u16string_view upper);

}  // namespace WorkSpace
