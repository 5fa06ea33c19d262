#include "tests/activation/module_folder.h"

#include <stdio.h>
#include <string.h>

namespace nktest {

std::string PrepareModuleFolder() {
    const std::string folder = ProgramFolder() + "acttestmods\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string adapter = ProgramFolder() + "testmods\\DVTROP32.DLL";
    const char* copies[] = {"DVTROP32.DLL", "DVBFA32.DLL",  "VDTROP32.DLL",
                            "RMTROP32.DLL", "TLTROP32.DLL", "TMTROP32.DLL",
                            "SDTROP32.DLL", "GJTROP32.DLL", "  TROP32.DLL"};
    for (const char* name : copies)
        CopyFileA(adapter.c_str(), (folder + name).c_str(), TRUE);
    FILE* f = fopen((folder + "GJBFA32.DLL").c_str(), "wb");
    if (f) {
        fputs("this is no module", f);
        fclose(f);
    }
    return folder;
}

std::string AdapterLog(const std::string& path) {
    HMODULE module = GetModuleHandleA(path.c_str());
    if (!module) return "";
    typedef int(__cdecl * LogFn)(char*, int);
    LogFn log = (LogFn)(void*)GetProcAddress(module, "test_adapter_log");
    if (!log) return "";
    char text[256] = "";
    log(text, sizeof text);
    return text;
}

std::string KeyEvents(HWND window) {
    // Input is delivered in order: everything synthesised before the F24
    // sentinel has arrived once the sentinel has.
    keybd_event(VK_F24, 0, 0, 0);
    keybd_event(VK_F24, 0, KEYEVENTF_KEYUP, 0);
    std::string out;
    char item[16];
    const DWORD start = GetTickCount();
    bool sentinel = false;
    while (!sentinel && GetTickCount() - start < 3000) {
        for (const Posted& p : Drain(window)) {
            const bool down = p.message == WM_KEYDOWN || p.message == WM_SYSKEYDOWN;
            const bool up = p.message == WM_KEYUP || p.message == WM_SYSKEYUP;
            if (!down && !up) continue;
            if (p.wParam == VK_F24) {
                sentinel = sentinel || up;
                continue;
            }
            snprintf(item, sizeof item, "%s%c%u", out.empty() ? "" : " ", down ? '+' : '-',
                     (unsigned)p.wParam);
            out += item;
        }
        if (!sentinel) Sleep(5);
    }
    if (!sentinel) out += " (no sentinel)";
    return out;
}

} // namespace nktest
