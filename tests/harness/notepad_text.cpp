#include "tests/harness/notepad_text.h"

#include <windows.h>

#include <stdio.h>

namespace {

enum { kTextMax = 65536 };

void WriteText(FILE* out, HWND edit, NotepadTextForm form) {
    if (form == NOTEPAD_UNITS) {
        static wchar_t text[kTextMax];
        text[0] = 0;
        SendMessageW(edit, WM_GETTEXT, kTextMax, (LPARAM)text);
        for (size_t i = 0; text[i]; ++i)
            fprintf(out, "%s%04x", i ? " " : "", (unsigned)text[i]);
    } else {
        static char text[kTextMax];
        text[0] = 0;
        SendMessageA(edit, WM_GETTEXT, sizeof text, (LPARAM)text);
        for (size_t i = 0; text[i]; ++i)
            fprintf(out, "%s%02X", i ? " " : "", (unsigned char)text[i]);
    }
    fprintf(out, "\n");
}

} // namespace

int WriteNotepadText(const char* file, NotepadTextForm form, bool close) {
    FILE* out = fopen(file, "wb");
    if (!out) return 3;
    HWND notepad = FindWindowA("Notepad", nullptr);
    HWND edit = notepad ? FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
    if (!edit) {
        fprintf(out, "NONE\n");
        fclose(out);
        return 0;
    }
    WriteText(out, edit, form);
    fclose(out);
    if (close) {
        SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
        PostMessageA(notepad, WM_CLOSE, 0, 0);
    }
    return 0;
}
