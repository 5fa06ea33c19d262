// Loading the driver: paths, the two driver settings, the system-wide hooks;
// the menu-loop hook; unloading; the manager's title.
#include <stdio.h>
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/engine/shared_check.h"
#include "support/settings_location.h"
#include "driver/scripts/script_table.h"

static_assert((int)NK_MODULE_PATH_MAX < (int)NK_MODULE_DIR_SIZE,
              "moduleDirectory holds any module folder");

static const char kSettingsFile[] = "TAVWIN.INI";
static const char kSettingsSection[] = "Settings";
static const char kTitleBase[] = "TAV-MultiScript";
static const char kManagerClass[] = "LoraTAV";

// The hooks this process installed; only these are removed here (the shared
// handles can be written by any program).
static HHOOK hooksInstalledHere[2];

/* ---------------- Nelkor_Entry ---------------- */
extern "C" int Nelkor_Entry(HINSTANCE module) {
    // The directory of the caller's module (the manager passes its own
    // instance) and of the settings file.
    LocateSettings(module, shared.moduleDirectory, sizeof shared.moduleDirectory,
                   shared.iniDirectory, sizeof shared.iniDirectory);
    char settingsPath[NK_MODULE_DIR_SIZE + sizeof kSettingsFile];
    snprintf(settingsPath, sizeof settingsPath, "%s%s", shared.moduleDirectory, kSettingsFile);

    shared.managerThreadId = GetCurrentThreadId();
    proc.isManager = 1;
    shared.dualFont = GetPrivateProfileIntA(kSettingsSection, "DualFont", 0, settingsPath);

    // Hooks for every thread, installed with the library's own module: the
    // module that holds this code, whatever its file is called.
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCSTR)(void*)&Nelkor_Entry, &self))
        self = GetModuleHandleA("NELKOR.DLL");
    hooksInstalledHere[0] =
        SetWindowsHookExA(WH_GETMESSAGE, (HOOKPROC)(void*)GetProcAddress(self, "_MF"), self, 0);
    hooksInstalledHere[1] =
        SetWindowsHookExA(WH_SYSMSGFILTER, (HOOKPROC)(void*)GetProcAddress(self, "_SMP"), self, 0);
    shared.getMessageHook = hooksInstalledHere[0];
    shared.sysMsgFilterHook = hooksInstalledHere[1];

    shared.layoutTable = (LayoutTable*)&inscriptTable;
    return LoadDefFonts(nullptr);
}

// The menu loop's start and end, as _SMP sees them.
static void FollowMenuLoop(const MSG* msg) {
    if (!shared.inMenuLoop) {
        shared.inMenuLoop = 1;
        shared.savedLockInMenu = GetKeyState(shared.switchKey) & 1;
        _SCL(0);
        return;
    }
    if (msg && msg->lParam == 0xFFFF) {
        shared.inMenuLoop = 0;
        _SCL(shared.savedLockInMenu);
    }
}

/* ---------------- _SMP ---------------- */
// While any application shows a menu, keys reach it as English letters; the
// earlier state returns when the menu loop reports its end.
extern "C" LRESULT CALLBACK _SMP(int code, WPARAM wParam, LPARAM lParam) {
    CheckSharedState(&shared); // any program may have written it
    if (code == MSGF_MENU) FollowMenuLoop((const MSG*)lParam);
    // Nothing is taken from the menu: the hooks after this one decide.
    return CallNextHookEx(shared.sysMsgFilterHook, code, wParam, lParam);
}

/* ---------------- WEP ---------------- */
// Frees this process's adapter module (also one left loaded by a failed
// activation) and removes both hooks. Returns 1.
extern "C" int WEP(void) {
    if (proc.adapterModule) {
        if (shared.adapterEntry == proc.adapterEntry) shared.adapterEntry = nullptr;
        proc.adapterEntry = nullptr;
        FreeLibrary(proc.adapterModule);
        proc.adapterModule = nullptr;
        proc.adapterPath[0] = 0;
    }
    for (HHOOK& hook : hooksInstalledHere) {
        if (hook) UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    shared.getMessageHook = nullptr;
    shared.sysMsgFilterHook = nullptr;
    return 1;
}

/* ---------------- _CIM ---------------- */
extern "C" int _CIM(void) {
    return 0;
}

const char* ComposeManagerTitle(void) {
    CopyText(shared.managerTitle, sizeof shared.managerTitle, kTitleBase);
    if (shared.activeScript == 0) return shared.managerTitle;
    if (shared.typingMode == MODE_ENGLISH) {
        AppendText(shared.managerTitle, sizeof shared.managerTitle, " [English]");
    } else if (shared.typingMode >= MODE_DISABLED_SCRIPT) {
        AppendText(shared.managerTitle, sizeof shared.managerTitle, " [Disabled]");
    } else {
        AppendText(shared.managerTitle, sizeof shared.managerTitle, " [");
        AppendText(shared.managerTitle, sizeof shared.managerTitle,
                   ScriptTitleName(shared.activeScript));
        AppendText(shared.managerTitle, sizeof shared.managerTitle, "]");
    }
    return shared.managerTitle;
}

// The window must be of the manager's class: any program can write the
// handle, and the hot keys and Ctrl+Space send it commands.
HWND ManagerWindow(void) {
    char className[sizeof kManagerClass + 1] = "";
    HWND window = shared.managerWindow;
    if (!window || !IsWindow(window) || !GetClassNameA(window, className, sizeof className) ||
        strcmp(className, kManagerClass) != 0)
        shared.managerWindow = FindWindowA(kManagerClass, nullptr);
    return shared.managerWindow;
}

void RefreshManagerTitle(void) {
    SetWindowTextA(ManagerWindow(), ComposeManagerTitle());
}
