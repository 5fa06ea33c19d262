// Message boxes of the driver. In the manager's process each failure the
// user must see is shown as it happens. A hooked program shows each kind of
// box (by caption) once in its life: the hook runs at every key, and any
// program on the desktop can write the shared values that lead to a box, so
// repeating it would stop the user's application at every key.
#include <string.h>

#include "driver/engine/engine.h"

namespace {

enum { kReportedMax = 8, kCaptionMax = 32 };

// Per process: the captions already shown here.
char reportedCaptions[kReportedMax][kCaptionMax];
int reportedCount = 0;

bool AlreadyReported(const char* caption) {
    for (int i = 0; i < reportedCount; ++i)
        if (strcmp(reportedCaptions[i], caption) == 0) return true;
    return false;
}

// The manager's process: the one that loaded the driver for the manager, or
// the one that owns the manager's window.
bool InManagerProcess() {
    if (proc.isManager) return true;
    HWND manager = ManagerWindow();
    DWORD owner = 0;
    if (manager) GetWindowThreadProcessId(manager, &owner);
    return owner != 0 && owner == GetCurrentProcessId();
}

} // namespace

int ShowDriverBox(const char* text, const char* caption, UINT flags) {
    if (!InManagerProcess()) {
        if (AlreadyReported(caption) || reportedCount == kReportedMax) return 0;
        CopyText(reportedCaptions[reportedCount++], kCaptionMax, caption);
    }
    return MessageBoxA(GetFocus(), text, caption, flags);
}
