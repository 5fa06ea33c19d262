// Reading Wine's notepad from the scripts that type into it: its edit
// control's text, written as hex to a file the shell script compares.
#ifndef NK_NOTEPAD_TEXT_H
#define NK_NOTEPAD_TEXT_H

enum NotepadTextForm {
    NOTEPAD_BYTES, // WM_GETTEXT of the ANSI kind: bytes as "%02X"
    NOTEPAD_UNITS  // the wide kind: UTF-16 units as "%04x"
};

// Writes notepad's text to `file` as space-separated hex and a newline, or
// "NONE" when no notepad is open; with `close`, notepad is then closed
// without asking to save. Returns 0, or 3 when the file cannot be written.
int WriteNotepadText(const char* file, NotepadTextForm form, bool close);

#endif // NK_NOTEPAD_TEXT_H
