// Stand-in for the manager in the cross-process tests: loads the driver,
// creates the "LoraTAV" window, installs the hooks and activates a script,
// then runs a message loop. It writes what it sees to a log file:
//   READY                    once the script is active;
//   TITLE <text>             whenever the driver sets its window title;
//   USER <code>              script hot keys sent by the driver.
// It reads one-line commands from <log>.cmd ("CAT n" sets the default
// category, "AS c" activates a script, "MS n" multiple sets) and ends when
// <log>.stop appears, or after five minutes.
//
// Usage: nk_xp_host <log file> <switch key vk> <script letter>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driver/engine/shared_state.h"
#include "tests/harness/wine_test_util.h"

namespace {

char logPath[MAX_PATH];
char commandPath[MAX_PATH];
char stopPath[MAX_PATH];
DWORD startTick;

void Log(const char* format, const char* text) {
    FILE* f = fopen(logPath, "ab");
    if (!f) return;
    fprintf(f, format, text);
    fputc('\n', f);
    fclose(f);
}

void RunCommands() {
    FILE* f = fopen(commandPath, "r");
    if (!f) return;
    char line[64];
    while (fgets(line, sizeof line, f)) {
        int value = 0;
        char letter = 0;
        if (sscanf(line, "CAT %d", &value) == 1) SetDefAppCategory(value);
        if (sscanf(line, "AS %c", &letter) == 1) _AS(letter);
        if (sscanf(line, "MS %d", &value) == 1) _MS(value);
        Log("DONE %s", line);
    }
    fclose(f);
    DeleteFileA(commandPath);
}

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_SETTEXT: Log("TITLE %s", (const char*)lp); break;
    case WM_USER: {
        char code[2] = {(char)wp, 0};
        Log("USER %s", code);
        return 0;
    }
    case WM_TIMER:
        RunCommands();
        if (GetFileAttributesA(stopPath) != INVALID_FILE_ATTRIBUTES ||
            GetTickCount() - startTick > 300000)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    snprintf(logPath, sizeof logPath, "%s", argv[1]);
    snprintf(commandPath, sizeof commandPath, "%s.cmd", argv[1]);
    snprintf(stopPath, sizeof stopPath, "%s.stop", argv[1]);
    startTick = GetTickCount();

    HWND window = nktest::CreateManagerStandIn(HostProc, 700, 10, 300, 120);
    if (!window) return 3;

    // The program folder holds the driver; the adapters lie in testmods\.
    Nelkor_Entry(GetModuleHandleA(nullptr));
    SharedState* state = (SharedState*)NelkorSharedState();
    char modules[MAX_PATH];
    GetModuleFileNameA(nullptr, modules, sizeof modules);
    char* slash = strrchr(modules, '\\');
    if (slash) strcpy(slash + 1, "testmods\\");
    snprintf(state->moduleDirectory, sizeof state->moduleDirectory, "%s", modules);
    SetAvailScripts(argv[3], "DV ");
    SetSwitchKey(atoi(argv[2]));
    int result = _AS(argv[3][0]);
    _SCL(0);
    char text[32];
    snprintf(text, sizeof text, "%d", result);
    Log("ACTIVATED %s", text);
    Log("PUBLISHED %s", state->adapterFileName);
    SetTimer(window, 1, 50, nullptr);
    // The lParams that QuarkXPress glyphs and Ami Pro's Esc get on this system.
    const unsigned char oemChars[] = {0x1B, 0x53, 0x7B};
    for (unsigned char ch : oemChars) {
        snprintf(text, sizeof text, "%02X %08X", ch, (unsigned)((OemKeyScan(ch) << 16) | 1u));
        Log("OEM %s", text);
    }
    Log("READY%s", "");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    WEP();
    Log("END%s", "");
    return 0;
}
