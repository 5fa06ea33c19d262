// davrin.exe: the program the user starts. One minimised window whose menu
// is the control panel of the keyboard driver nelkor.dll.
#include "manager/app/manager.h"

ManagerState mgr;

// One manager per session: a second one would load the driver's hooks again
// and fight the first over the shared settings. Win32 reports no previous
// instance, so a named mutex stands for it.
static const char kInstanceMutex[] = "VeltaScriptManager.LoraTAV";

static bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA cls = {};
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = MainWndProc;
    cls.hInstance = instance;
    cls.hIcon = LoadIconA(instance, "TAVICON");
    cls.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    cls.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    cls.lpszMenuName = "TAVMENU";
    cls.lpszClassName = "LoraTAV";
    return RegisterClassA(&cls) != 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HANDLE single = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    if (!single || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    mgr.instance = instance;
    if (!RegisterMainClass(instance)) return 0;

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowA("LoraTAV", "TAV-MultiScript",
                                WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, width / 5, height / 8,
                                3 * width / 5, 6 * height / 8, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    ShowWindow(window, SW_SHOWMINIMIZED);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
