// Helper of overlay_outside.sh, run under Wine: reads what a user sees of
// the keyboard overlay, which the script drives with real clicks and keys.
//
//   overlay_look state SCAN
//       one line: the overlay's "Caps" and "Shift" check boxes (0/1), the
//       caption of the key with scan code SCAN and the EDIT box's text (hex,
//       "-" when empty), the key's screen rectangle, then the title;
//       "NONE" when no overlay is open;
//   overlay_look glyphs MODULE ENTRY ISCII_HEX
//       the glyph codes the script module gives for the first syllable of
//       the ISCII text (hex): what the key must show and type;
//   overlay_look message
//       the text of the message box that is open (hex), "NONE" without one;
//   overlay_look menu
//       "OPEN" while a pop-up menu is shown, else "NONE".
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "include/nelkor.h"
#include "manager/resources/resource_ids.h"

namespace {

enum { kTextMax = 256, kMessageTextId = 0xFFFF };
const char kOverlayTitle[] = "TAV KEYBOARD OVERLAY";
const char kMenuClass[] = "#32768"; // the class of pop-up menus

struct Search {
    const char* titlePrefix; // the overlay: its title's beginning
    const char* className;   // a message box: its class
    HWND found;
};

BOOL CALLBACK FindWindowProc(HWND window, LPARAM param) {
    Search* search = (Search*)param;
    if (!IsWindowVisible(window)) return TRUE;
    char text[kTextMax] = "";
    if (search->titlePrefix) {
        GetWindowTextA(window, text, sizeof text);
        if (strncmp(text, search->titlePrefix, strlen(search->titlePrefix)) != 0) return TRUE;
    } else {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, search->className) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindTopWindow(const char* titlePrefix, const char* className) {
    Search search = {titlePrefix, className, nullptr};
    EnumWindows(FindWindowProc, (LPARAM)&search);
    return search.found;
}

// Text of another process's control, asked for with a time limit so that a
// hung manager fails the check instead of hanging it.
void ControlText(HWND control, char* text, size_t size) {
    DWORD_PTR ignored = 0;
    text[0] = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, size, (LPARAM)text, SMTO_BLOCK, 5000, &ignored);
    text[size - 1] = 0;
}

int CheckState(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return state == BST_CHECKED;
}

void PrintHex(const char* text) {
    if (!text[0]) printf("-");
    for (const unsigned char* at = (const unsigned char*)text; *at; ++at) printf("%02X", *at);
}

int State(int scanCode) {
    HWND dialog = FindTopWindow(kOverlayTitle, nullptr);
    if (!dialog) {
        printf("NONE\n");
        return 0;
    }
    char caption[kTextMax], edit[kTextMax], title[kTextMax];
    HWND key = GetDlgItem(dialog, IDC_KEY_BASE + scanCode);
    ControlText(key, caption, sizeof caption);
    ControlText(GetDlgItem(dialog, IDC_OVERLAY_EDIT), edit, sizeof edit);
    ControlText(dialog, title, sizeof title);
    RECT rect = {0, 0, 0, 0};
    if (key) GetWindowRect(key, &rect);
    printf("%d %d ", CheckState(dialog, IDC_OVERLAY_CAPS), CheckState(dialog, IDC_OVERLAY_SHIFT));
    PrintHex(caption);
    printf(" ");
    PrintHex(edit);
    printf(" %ld %ld %ld %ld %s\n", rect.left, rect.top, rect.right, rect.bottom, title);
    return 0;
}

int Glyphs(const char* module, const char* entryName, const char* isciiHex) {
    unsigned char iscii[kTextMax] = {0};
    const size_t digits = strlen(isciiHex);
    for (size_t at = 0; at + 1 < digits && at / 2 + 1 < sizeof iscii; at += 2) {
        char pair[3] = {isciiHex[at], isciiHex[at + 1], 0};
        iscii[at / 2] = (unsigned char)strtoul(pair, nullptr, 16);
    }
    HMODULE adapter = LoadLibraryA(module);
    auto entry = adapter ? (AdapterEntryFn)(void*)GetProcAddress(adapter, entryName) : nullptr;
    if (!entry) {
        printf("NONE\n");
        return 2;
    }
    unsigned char pairs[NK_ADAPTER_OUT_MAX + 2] = {0};
    int32_t consumed = 0, length = 0;
    entry(iscii, pairs, &consumed, &length, 0);
    char glyphs[NK_ADAPTER_OUT_MAX] = {0};
    size_t count = 0;
    for (size_t at = 0; at < NK_ADAPTER_OUT_MAX && pairs[at] && count + 1 < sizeof glyphs; at += 2)
        glyphs[count++] = (char)pairs[at];
    PrintHex(glyphs);
    printf("\n");
    FreeLibrary(adapter);
    return 0;
}

int Message() {
    HWND box = FindTopWindow(nullptr, "#32770");
    char text[kTextMax] = "";
    if (box) ControlText(GetDlgItem(box, kMessageTextId), text, sizeof text);
    if (box && text[0]) {
        PrintHex(text);
        printf("\n");
    } else {
        printf("NONE\n");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "state") == 0) return State(atoi(argv[2]));
    if (argc == 5 && strcmp(argv[1], "glyphs") == 0) return Glyphs(argv[2], argv[3], argv[4]);
    if (argc == 2 && strcmp(argv[1], "message") == 0) return Message();
    if (argc == 2 && strcmp(argv[1], "menu") == 0) {
        printf("%s\n", FindTopWindow(nullptr, kMenuClass) ? "OPEN" : "NONE");
        return 0;
    }
    fprintf(stderr, "usage: overlay_look state SCAN | glyphs MODULE ENTRY HEX | message | menu\n");
    return 2;
}
