// Reads back the text of Wine's notepad for the cross-process tests: prints
// the bytes of its edit control in hexadecimal on one line ("7B 53"), or
// "NONE" when there is no notepad window. With "close", it marks the text as
// saved and closes notepad.
//
// Usage: nk_xp_notepad <output file> [close]
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* out = fopen(argv[1], "wb");
    if (!out) return 3;
    HWND notepad = FindWindowA("Notepad", nullptr);
    HWND edit = notepad ? FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
    if (!edit) {
        fprintf(out, "NONE\n");
        fclose(out);
        return 0;
    }
    char text[512] = "";
    SendMessageA(edit, WM_GETTEXT, sizeof text, (LPARAM)text);
    for (size_t i = 0; text[i]; ++i)
        fprintf(out, "%s%02X", i ? " " : "", (unsigned char)text[i]);
    fprintf(out, "\n");
    fclose(out);
    if (argc > 2 && strcmp(argv[2], "close") == 0) {
        SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
        PostMessageA(notepad, WM_CLOSE, 0, 0);
    }
    return 0;
}
