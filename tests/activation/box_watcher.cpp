#include "tests/activation/box_watcher.h"

namespace nktest {

namespace {
struct ChildScan {
    std::string text;
    bool icon = false;
};

BOOL CALLBACK ScanChild(HWND child, LPARAM data) {
    ChildScan* scan = (ChildScan*)data;
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        scan->icon = true;
        return TRUE;
    }
    char text[512] = "";
    GetWindowTextA(child, text, sizeof text);
    if (text[0] && scan->text.empty()) scan->text = text;
    return TRUE;
}
} // namespace

BoxWatcher::BoxWatcher(const char* caption, DWORD timeoutMs)
    : caption_(caption), timeoutMs_(timeoutMs) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() {
    Result();
}

SeenBox BoxWatcher::Result() {
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return box_;
}

DWORD WINAPI BoxWatcher::Run(void* self) {
    BoxWatcher* w = (BoxWatcher*)self;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < w->timeoutMs_) {
        HWND box = FindWindowA("#32770", w->caption_.c_str());
        if (box && IsWindowVisible(box)) {
            ChildScan scan;
            EnumChildWindows(box, ScanChild, (LPARAM)&scan);
            w->box_.seen = true;
            w->box_.text = scan.text;
            w->box_.hasIcon = scan.icon;
            w->box_.owner = GetWindow(box, GW_OWNER);
            w->box_.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(10);
    }
    return 0;
}

} // namespace nktest
