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

namespace {

const char kManagerClass[] = "LoraTAV";
const DWORD kWaitMs = 10000;

HMENU SubmenuByText(HMENU menu, const char* text) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char item[128] = "";
        GetMenuStringA(menu, (UINT)i, item, sizeof item, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        if (sub && strcmp(item, text) == 0) return sub;
    }
    return nullptr;
}

int ItemIdByText(HMENU menu, const char* text) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char item[128] = "";
        GetMenuStringA(menu, (UINT)i, item, sizeof item, MF_BYPOSITION);
        if (strcmp(item, text) == 0) return (int)GetMenuItemID(menu, i);
    }
    return -1;
}

int Select(HWND manager, const char* text) {
    HMENU keyboard = SubmenuByText(GetMenu(manager), "&Keyboard");
    HMENU typewriter = keyboard ? SubmenuByText(keyboard, "&Typewriter") : nullptr;
    const int id = typewriter ? ItemIdByText(typewriter, text) : -1;
    if (id < 0) {
        fprintf(stderr, "no \"%s\" under &Keyboard > &Typewriter (keyboard menu %s)\n", text,
                keyboard ? "found" : "missing");
        return 1;
    }
    SendMessageA(manager, WM_COMMAND, (WPARAM)id, 0);
    printf("%d\n", id);
    return 0;
}

const int kTextMax = 16384;

int NotepadText(const char* file, bool close) {
    FILE* out = fopen(file, "wb");
    if (!out) return 1;
    HWND notepad = FindWindowA("Notepad", nullptr);
    HWND edit = notepad ? FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
    if (!edit) {
        fprintf(out, "NONE\n");
        fclose(out);
        return 0;
    }
    static char text[kTextMax];
    text[0] = 0;
    SendMessageA(edit, WM_GETTEXT, sizeof text, (LPARAM)text);
    for (size_t i = 0; text[i]; ++i)
        fprintf(out, "%s%02X", i ? " " : "", (unsigned char)text[i]);
    fprintf(out, "\n");
    fclose(out);
    if (close) {
        SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
        PostMessageA(notepad, WM_CLOSE, 0, 0);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && strcmp(argv[1], "notepad") == 0)
        return NotepadText(argv[2], argc > 3 && strcmp(argv[3], "close") == 0);
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
