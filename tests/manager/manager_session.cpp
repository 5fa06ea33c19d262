// Running davrin.exe from a test (manager_session.h).
#include "tests/manager/manager_session.h"

#include <algorithm>
#include <stdio.h>
#include <string.h>

#include "driver/engine/shared_state.h"
#include "tests/manager/manager_probe.h"

namespace nkmgr {

namespace {

const DWORD kStartMs = 20000;
HMODULE probeModule = nullptr;

struct FindContext {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM lParam) {
    FindContext* c = (FindContext*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != c->pid) return TRUE;
    char text[256] = "";
    GetClassNameA(window, text, sizeof text);
    if (c->className && _stricmp(text, c->className) != 0) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (c->title && strcmp(text, c->title) != 0) return TRUE;
    c->found = window;
    return FALSE;
}

int Ask(const Manager& m, WPARAM which, ProbeQuestion question, std::string* text = nullptr) {
    static UINT probeMessage = RegisterWindowMessageA(NK_PROBE_MESSAGE);
    if (!probeModule) probeModule = LoadLibraryA((BinDir() + "manager_probe.dll").c_str());
    if (!probeModule) return -100;
    auto proc = (HOOKPROC)(void*)GetProcAddress(probeModule, "ProbeCallWndProc");
    auto answer = (ProbeRecord * (*)(void))(void*)GetProcAddress(probeModule, "ProbeAnswer");
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, proc, probeModule, m.process.dwThreadId);
    if (!hook) return -101;
    answer()->answer = -99;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(m.window, probeMessage, which, question, SMTO_BLOCK, 5000, &ignored);
    UnhookWindowsHookEx(hook);
    if (text) *text = answer()->text;
    return answer()->answer;
}

} // namespace

std::string BinDir() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = 0;
    return path;
}

// A fresh program folder below the test programs' own: the driver the
// manager loads lies there, and it opens files of its own folder only.
std::string MakeTempDir() {
    static int counter = 0;
    for (;;) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%snkmgr_%lu_%d\\", BinDir().c_str(), GetCurrentProcessId(),
                 ++counter);
        if (CreateDirectoryA(path, nullptr)) return path;
    }
}

std::string ReadFileText(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return "";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

void CopyTestModule(const ProgramDir& dir, const char* module, const char* as) {
    CopyFileA((BinDir() + "testmods\\" + module).c_str(), (dir.path + as).c_str(), FALSE);
}

static void FillProgramDir(const ProgramDir& dir, const std::vector<std::string>& adapterNames,
                           bool withRules);

ProgramDir MakeProgramDir(const std::vector<std::string>& adapterNames, bool withRules) {
    ProgramDir dir{MakeTempDir(), ""};
    FillProgramDir(dir, adapterNames, withRules);
    return dir;
}

ProgramDir MakeDeepProgramDir(const std::vector<std::string>& adapterNames, size_t minLength) {
    // Whole folder names while a whole one fits, then one cut to the length
    // still missing: the path comes out the same wherever the build folder
    // lies, and never past MAX_PATH, which no Windows program is given.
    static const std::string kName = "Velta Indian Scripts, a folder name of some length";
    ProgramDir dir{MakeTempDir(), ""};
    while (dir.path.size() + strlen("davrin.exe") < minLength) {
        const size_t missing = minLength - dir.path.size() - strlen("davrin.exe");
        dir.path += kName.substr(0, std::min(kName.size(), std::max<size_t>(missing, 2) - 1));
        dir.path += "\\";
        CreateDirectoryA(dir.path.c_str(), nullptr);
    }
    FillProgramDir(dir, adapterNames, true);
    return dir;
}

static void FillProgramDir(const ProgramDir& dir, const std::vector<std::string>& adapterNames,
                           bool withRules) {
    CopyFileA((BinDir() + "davrin.exe").c_str(), (dir.path + "davrin.exe").c_str(), FALSE);
    for (const std::string& name : adapterNames)
        CopyTestModule(dir, "DVTROP32.DLL", name.c_str());
    if (withRules) {
        for (const char* data : {"EN2IN.RUL", "IN2EN.RUL", "INSKBD.BIN", "PEKBD.BIN"})
            CopyFileA((BinDir() + data).c_str(), (dir.path + data).c_str(), FALSE);
    }
}

void WriteSettings(const std::string& iniPath,
                   const std::vector<std::pair<std::string, std::string>>& keys) {
    std::string text = "[Settings]\r\n";
    for (const auto& [key, value] : keys)
        text += key + "=" + value + "\r\n";
    WriteFileText(iniPath, text);
}

std::string ReadSetting(const std::string& iniPath, const char* key) {
    char value[512] = "";
    GetPrivateProfileStringA("Settings", key, "<missing>", value, sizeof value, iniPath.c_str());
    return value;
}

std::vector<std::string> SettingsKeys(const std::string& iniPath) {
    std::vector<std::string> keys;
    char buffer[4096] = "";
    DWORD n =
        GetPrivateProfileStringA("Settings", nullptr, "", buffer, sizeof buffer, iniPath.c_str());
    for (DWORD i = 0; i < n && buffer[i];) {
        keys.push_back(buffer + i);
        i += (DWORD)strlen(buffer + i) + 1;
    }
    return keys;
}

int RunProgram(const std::string& command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = command;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return (int)code;
}

bool RulesAvailable() {
    static int known = -1;
    if (known < 0) {
        // The rule engine reads from the driver's module directory: point it
        // at bin/ for one load, then put it back.
        SharedState& state = *(SharedState*)NelkorSharedState();
        char saved[sizeof state.moduleDirectory];
        memcpy(saved, state.moduleDirectory, sizeof saved);
        snprintf(state.moduleDirectory, sizeof state.moduleDirectory, "%s", BinDir().c_str());
        known = ascii2iscii_init(1) == 3 ? 1 : 0;
        memcpy(state.moduleDirectory, saved, sizeof saved);
    }
    return known == 1;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title) {
    FindContext c{pid, className, title, nullptr};
    EnumWindows(FindProc, (LPARAM)&c);
    return c.found;
}

bool Launch(const ProgramDir& dir, Manager& m) {
    static bool pathSet = false;
    if (!pathSet) {
        // The manager finds nelkor.dll in bin/ through PATH.
        char old[8192] = "";
        GetEnvironmentVariableA("PATH", old, sizeof old);
        SetEnvironmentVariableA("PATH", (BinDir() + ";" + old).c_str());
        pathSet = true;
    }
    std::string command = "\"" + dir.path + "davrin.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const std::string& startIn = dir.startIn.empty() ? dir.path : dir.startIn;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        startIn.c_str(), &startup, &m.process))
        return false;
    return true;
}

bool Start(const ProgramDir& dir, Manager& m) {
    return Launch(dir, m) && WaitReady(m);
}

bool WaitReady(Manager& m) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStartMs) {
        if (WaitForSingleObject(m.process.hProcess, 0) == WAIT_OBJECT_0) return false;
        HWND splash = FindProcessWindow(m.process.dwProcessId, nullptr, "VELTA SCRIPT MANAGER");
        if (splash && !m.splashSeen) {
            m.splashSeen = true;
            GetWindowRect(splash, &m.splashRect);
            char cls[64] = "";
            GetClassNameA(splash, cls, sizeof cls);
            m.splashClass = cls;
        }
        m.window = FindProcessWindow(m.process.dwProcessId, "LoraTAV", nullptr);
        if (m.window && IsIconic(m.window) && m.splashSeen && !splash) {
            DWORD_PTR ignored = 0; // let the queue of start-up messages drain
            SendMessageTimeoutA(m.window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
            return true;
        }
        Sleep(5);
    }
    return false;
}

std::string TakeMessageBox(const Manager& m, const char* caption) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStartMs) {
        HWND box = FindProcessWindow(m.process.dwProcessId, "#32770", caption);
        if (box && IsWindowVisible(box)) { // shown: its text is set
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the message box's text
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 1000 && IsWindow(box); ++i)
                Sleep(5);
            return text;
        }
        if (WaitForSingleObject(m.process.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    return "";
}

bool WaitForExit(Manager& m, DWORD ms) {
    if (!m.process.hProcess) return true;
    const bool ended = WaitForSingleObject(m.process.hProcess, ms) == WAIT_OBJECT_0;
    if (ended) {
        CloseHandle(m.process.hProcess);
        CloseHandle(m.process.hThread);
        m.process = {};
        m.window = nullptr;
    }
    return ended;
}

bool Close(Manager& m) {
    if (m.window) SendMessageTimeoutA(m.window, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, nullptr);
    return WaitForExit(m);
}

void Kill(Manager& m) {
    if (!m.process.hProcess) return;
    TerminateProcess(m.process.hProcess, 1);
    WaitForExit(m);
}

int MenuState(const Manager& m, int id) {
    return Ask(m, (WPARAM)id, PROBE_MENU_STATE);
}
int SystemMenuState(const Manager& m, int id) {
    return Ask(m, (WPARAM)id, PROBE_SYSMENU_STATE);
}
int PopupCount(const Manager& m, int position) {
    return Ask(m, (WPARAM)position, PROBE_POPUP_COUNT);
}
std::string ItemText(const Manager& m, int id) {
    std::string text;
    Ask(m, (WPARAM)id, PROBE_ITEM_TEXT, &text);
    return text;
}
std::string KeyboardItemText(const Manager& m, int position) {
    std::string text;
    Ask(m, (WPARAM)position, PROBE_KEYBOARD_TEXT, &text);
    return text;
}
int ClassStyle(const Manager& m) {
    return Ask(m, 0, PROBE_CLASS_STYLE);
}
int ClassLook(const Manager& m) {
    return Ask(m, 0, PROBE_CLASS_LOOK);
}

void Command(const Manager& m, int id, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(m.window, WM_COMMAND, (WPARAM)id, lParam, SMTO_BLOCK, 5000, &ignored);
}

} // namespace nkmgr
