// An application for the cross-process tests: one top-level window with the
// title given and a menu, whose keyboard and character messages are written
// to a log file in the order the window receives them, one per line:
//   <message> <wParam> <lParam>   (hexadecimal; lParam as 32 bits)
// The first line is READY once the window is shown and has the focus; the
// program ends (writing END) when <log>.stop appears, or after two minutes.
//
// Usage: nk_xp_recorder <log file> <window title>
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

FILE* logFile;
char stopPath[MAX_PATH];
DWORD startTick;

LRESULT CALLBACK RecorderProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_KEYFIRST && m <= WM_KEYLAST) {
        fprintf(logFile, "%04X %X %08X\n", m, (unsigned)wp, (unsigned)(DWORD)lp);
        fflush(logFile);
        return m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || m == WM_SYSCHAR
                   ? DefWindowProcA(w, m, wp, lp)
                   : 0;
    }
    switch (m) {
    case WM_COMMAND:
        fprintf(logFile, "COMMAND %X\n", (unsigned)wp);
        fflush(logFile);
        return 0;
    case WM_TIMER:
        if (GetFileAttributesA(stopPath) != INVALID_FILE_ATTRIBUTES ||
            GetTickCount() - startTick > 120000)
            PostQuitMessage(0);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    logFile = fopen(argv[1], "wb");
    if (!logFile) return 3;
    snprintf(stopPath, sizeof stopPath, "%s.stop", argv[1]);
    startTick = GetTickCount();

    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NkRecorder";
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "&Open");
    AppendMenuA(file, MF_STRING, 101, "&Close");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
    HWND window = CreateWindowExA(0, "NkRecorder", argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                  20, 400, 200, nullptr, bar, wc.hInstance, nullptr);
    if (!window) return 4;
    SetForegroundWindow(window);
    SetFocus(window);
    SetTimer(window, 1, 50, nullptr);
    fprintf(logFile, "READY %llX\n", (unsigned long long)(UINT_PTR)window);
    fflush(logFile);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    fprintf(logFile, "END\n");
    fclose(logFile);
    return 0;
}
