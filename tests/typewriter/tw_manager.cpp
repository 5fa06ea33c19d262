// Drives a running davrin.exe for remington_wine.sh, as its menu would:
//   tw_manager select TEXT   find TEXT under "&Keyboard" > "&Typewriter" and
//                            send that item's command; prints its id
//   tw_manager command ID    send command ID
//   tw_manager close         close the manager (it writes its settings)
//   tw_manager notepad FILE [close]
//                            notepad's text in hexadecimal into FILE ("NONE"
//                            without notepad); with "close" notepad is closed
//                            unsaved
// Exit status 0 on success, 1 when the window or the item is not found.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tests/harness/notepad_text.h"
#include "tests/manager/manager_probe.h"

namespace {

const char kManagerClass[] = "LoraTAV";
const DWORD kWaitMs = 10000;

const int kFirstTypewriterItem = 165, kTypewriterItems = 10, kKeyboardTypewriterPosition = 3;

// Menus belong to their process: the manager's own thread answers through the
// probe DLL of the manager tests (manager_probe.h), loaded from the folder
// of this program.
int Ask(HWND manager, WPARAM which, ProbeQuestion question, char* text, size_t size) {
    static UINT probeMessage = RegisterWindowMessageA(NK_PROBE_MESSAGE);
    static HMODULE probe = LoadLibraryA("manager_probe.dll");
    if (!probe) return -100;
    auto proc = (HOOKPROC)(void*)GetProcAddress(probe, "ProbeCallWndProc");
    auto answer = (ProbeRecord * (*)(void))(void*)GetProcAddress(probe, "ProbeAnswer");
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, proc, probe, GetWindowThreadProcessId(manager, nullptr));
    if (!hook) return -101;
    answer()->answer = -99;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(manager, probeMessage, which, question, SMTO_BLOCK, 5000, &ignored);
    UnhookWindowsHookEx(hook);
    snprintf(text, size, "%s", answer()->text);
    return answer()->answer;
}

// The item whose text is `text` in "&Typewriter", the fourth item of
// "&Keyboard", is chosen as its click would: its command goes to the manager.
int Select(HWND manager, const char* text) {
    char item[256];
    Ask(manager, kKeyboardTypewriterPosition, PROBE_KEYBOARD_TEXT, item, sizeof item);
    if (strcmp(item, "&Typewriter") != 0) {
        fprintf(stderr, "no \"&Typewriter\" in \"&Keyboard\" (\"%s\")\n", item);
        return 1;
    }
    for (int id = kFirstTypewriterItem; id < kFirstTypewriterItem + kTypewriterItems; ++id) {
        if (Ask(manager, (WPARAM)id, PROBE_ITEM_TEXT, item, sizeof item) > 0 &&
            strcmp(item, text) == 0) {
            SendMessageA(manager, WM_COMMAND, (WPARAM)id, 0);
            printf("%d\n", id);
            return 0;
        }
    }
    fprintf(stderr, "no \"%s\" under \"&Typewriter\"\n", text);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && strcmp(argv[1], "notepad") == 0)
        return WriteNotepadText(argv[2], NOTEPAD_BYTES, argc > 3 && strcmp(argv[3], "close") == 0);
    HWND manager = FindWindowA(kManagerClass, nullptr);
    if (!manager || argc < 2) return 1;
    if (strcmp(argv[1], "select") == 0 && argc > 2) return Select(manager, argv[2]);
    if (strcmp(argv[1], "command") == 0 && argc > 2) {
        SendMessageA(manager, WM_COMMAND, (WPARAM)atoi(argv[2]), 0);
        return 0;
    }
    if (strcmp(argv[1], "close") == 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(manager, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageA(manager, WM_CLOSE, 0, 0);
        const DWORD waited = process ? WaitForSingleObject(process, kWaitMs) : WAIT_FAILED;
        if (process) CloseHandle(process);
        return waited == WAIT_OBJECT_0 ? 0 : 1;
    }
    return 1;
}
