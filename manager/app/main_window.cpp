// The main window: a minimised control panel whose menu drives the driver.
#include <string.h>

#include "manager/app/manager.h"
#include "manager/app/manager_rules.h"

static const DWORD kSplashMs = 1000;

// The logo, unscaled, in the middle of the client area.
static void PaintLogo(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBITMAP logo = LoadBitmapA(mgr.instance, "TAV_LOGO");
    if (logo) {
        BITMAP info;
        GetObjectA(logo, sizeof info, &info);
        RECT client;
        GetClientRect(window, &client);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, logo);
        BitBlt(dc, (client.right - info.bmWidth) / 2, (client.bottom - info.bmHeight) / 2,
               info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(logo);
    }
    EndPaint(window, &paint);
}

/* The splash: a plain button-class window of the picture's size in the
   middle of the screen, painted over whole (caption included), for one
   second. The wait blocks the manager's thread on purpose: start-up is not
   over before the splash is. */
static void ShowSplash(void) {
    HBITMAP picture = LoadBitmapA(mgr.instance, "TAV_OPEN");
    if (!picture) return;
    BITMAP info;
    GetObjectA(picture, sizeof info, &info);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - info.bmWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - info.bmHeight) / 2;
    HWND splash = CreateWindowA("BUTTON", "VELTA SCRIPT MANAGER", WS_OVERLAPPED, x, y, info.bmWidth,
                                info.bmHeight, nullptr, nullptr, mgr.instance, nullptr);
    if (splash) {
        ShowWindow(splash, SW_SHOWNORMAL);
        UpdateWindow(splash);
        HDC dc = GetWindowDC(splash);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(splash, dc);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kSplashMs)
            Sleep(10);
        DestroyWindow(splash);
    }
    DeleteObject(picture);
}

static void PlaceOnTop(HWND window, bool topmost) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
}

/* Keep-on-top: item 209 of the system menu, offered only while minimised,
   keeps the minimised manager visible at the top-left of the screen. */
static void OnSystemCommand(HWND window, WPARAM command) {
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (command == IDM_KEEP_ON_TOP) {
        mgr.keepOnTop = !mgr.keepOnTop;
        CheckMenuItem(systemMenu, IDM_KEEP_ON_TOP,
                      MF_BYCOMMAND | (mgr.keepOnTop ? MF_CHECKED : MF_UNCHECKED));
        PlaceOnTop(window, mgr.keepOnTop != 0);
        return;
    }
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        EnableMenuItem(systemMenu, IDM_KEEP_ON_TOP, MF_BYCOMMAND | MF_ENABLED);
        if (mgr.keepOnTop) PlaceOnTop(window, true);
        CheckMenuItem(systemMenu, IDM_KEEP_ON_TOP,
                      MF_BYCOMMAND | (mgr.keepOnTop ? MF_CHECKED : MF_UNCHECKED));
        break;
    case SC_MAXIMIZE:
    case SC_RESTORE:
        EnableMenuItem(systemMenu, IDM_KEEP_ON_TOP, MF_BYCOMMAND | MF_GRAYED);
        PlaceOnTop(window, false);
        break;
    default: break;
    }
}

// Word needs to be told when it gets the focus back from the manager.
static bool OnKillFocus(void) {
    char title[MGR_TITLE_MAX + 1] = "";
    GetWindowTextA(GetForegroundWindow(), title, MGR_TITLE_MAX);
    if (!ContainsText(title, "Microsoft Word")) return false;
    MSWordIsGettingInputFocus();
    return true;
}

extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The commands use these handles; the driver may have touched the menu.
    mgr.menu = GetMenu(window);
    mgr.keyboardMenu = GetSubMenu(mgr.menu, 3);

    switch (message) {
    case WM_CREATE:
        // A failed start-up ends the program without writing the settings.
        return RunStartup(window) ? 0 : -1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) break;
        PostMessageA(window, WM_KILLFOCUS, 0, 0);
        return 0;
    case WM_KILLFOCUS:
        if (!OnKillFocus()) break;
        return 0;
    case WM_PAINT: PaintLogo(window); return 0;
    case WM_CLOSE:
        WriteSettings();
        DestroyWindow(window);
        return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), lParam); return 0;
    case WM_SYSCOMMAND:
        OnSystemCommand(window, wParam);
        DefWindowProcA(window, message, wParam, lParam);
        return 0;
    case WM_USER: ActivateScript(window, (int)wParam); return 0;
    case WM_USER + 1: ShowSplash(); return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
