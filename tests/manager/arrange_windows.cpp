// For the screenshot of scripts/run.sh: restores the minimised manager so
// that its window shows, and moves notepad beside it. Ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HWND manager = FindWindowA("LoraTAV", nullptr);
    if (manager) SendMessageA(manager, WM_SYSCOMMAND, SC_RESTORE, 0);
    HWND pad = FindWindowA("Notepad", nullptr);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (pad) MoveWindow(pad, w / 2, h / 2, w / 2 - 10, h / 2 - 40, TRUE);
    if (manager) SetWindowPos(manager, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE);
    return manager ? 0 : 1;
}
