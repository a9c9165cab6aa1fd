#include "config/ConfigDialog_win.h"
#include "config/DialogIds.h"
#include "host/Framework_win.h"

namespace WorkSpace {

// The executable carries no dialog template of this number: asking for it
// fails at once, and that failure is the configuration run's exit code.
constexpr int kMissingTemplate = 2003;

int ShowConfigDialog(HWND parent) {
    const HINSTANCE instance = Framework().instance;
    // Shown without an owner: the window named on the command line is not made one.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CONFIG_DIALOG), nullptr, ConfigDialogProc, 0);
    // Windows has always seen -1 from this run mode, after OK as after Cancel.
    return int(DialogBoxParamW(instance, MAKEINTRESOURCEW(kMissingTemplate), parent,
                               ConfigDialogProc, 0));
}

}  // namespace WorkSpace
