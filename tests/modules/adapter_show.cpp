// Shows words converted by the real adapter modules in the product's fonts,
// for a screenshot under Wine (tests/modules/adapter_screenshot.sh). It loads
// each module by file name and converts the words like the engine (mode 4 on
// the word, then mode 0 per syllable), then shows the glyph codes three ways:
// as the text of an ANSI edit control, as WM_CHAR messages posted to an ANSI
// edit control, and posted with PostMessageA to a Unicode edit control (as
// the driver types into Notepad). The window title ends in "ready" when all
// characters have arrived.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "include/nelkor.h"

namespace {

struct Line {
    const char* module; // adapter module file
    const char* entry;  // conversion entry
    const char* face;   // font
    const char* words;  // ISCII words, separated by blanks
    int mode5;          // Roman capitals passed before converting (-1: none)
};

// नमस्ते हिन्दी कर्म क्षत्रिय प्रेम विद्या धर्मों स्त्री संस्कृत शब्द
const char kHindi[] = "\xc6\xcc\xd7\xe8\xc2\xe1 \xd8\xdb\xc6\xe8\xc4\xdc \xb3\xcf\xe8\xcc "
                      "\xb3\xe8\xd6\xc2\xe8\xcf\xdb\xcd \xc8\xe8\xcf\xe1\xcc "
                      "\xd4\xdb\xc4\xe8\xcd\xda \xc5\xcf\xe8\xcc\xe5\xa2 "
                      "\xd7\xe8\xc2\xe8\xcf\xdc \xd7\xa2\xd7\xe8\xb3\xdf\xc2 \xd5\xca\xe8\xc4";

const Line kLines[] = {
    {"DVTROP32.DLL", "iscii2devglf", "DV-Velta", kHindi, -1},
    {"SDTROP32.DLL", "iscii2devsanskritglf", "SD-Velta", kHindi, -1},
    {"DVBFA32.DLL", "iscii2devglf", "DVB-TTVelta", kHindi, -1},
    {"RMTROP32.DLL", "iscii2rmglf", "RM-Velta", kHindi, 0},
    {"RMTROP32.DLL", "iscii2rmglf", "RM-Velta", kHindi, 2},
};
const int kLineCount = sizeof kLines / sizeof kLines[0];
enum { kGlyphsMax = 512 };

// Converts one word after another like the engine; returns the glyph codes.
int Convert(AdapterEntryFn entry, const Line& line, char* glyphs, int size) {
    int used = 0;
    const unsigned char* text = (const unsigned char*)line.words;
    unsigned char out[NK_ADAPTER_OUT_MAX];
    int32_t consumed = 0, length = line.mode5;
    if (line.mode5 >= 0) entry(text, out, &consumed, &length, 5);
    while (*text) {
        // The engine converts one word at a time; the blank between words
        // passes through as a blank.
        const unsigned char* end = text;
        while (*end && *end != ' ')
            ++end;
        unsigned char word[64];
        int n = (int)(end - text) < 63 ? (int)(end - text) : 63;
        memcpy(word, text, (size_t)n);
        word[n] = 0;
        consumed = length = 0;
        entry(word, out, &consumed, &length, 4);
        const unsigned char* p = word;
        while (*p) {
            consumed = length = 0;
            entry(p, out, &consumed, &length, 0);
            for (int i = 0; i + 1 < NK_ADAPTER_OUT_MAX && out[i] && out[i + 1]; i += 2)
                if (used + 1 < size) glyphs[used++] = (char)out[i];
            if (consumed < 1) break;
            p += consumed;
        }
        if (*end == ' ' && used + 1 < size) glyphs[used++] = ' ';
        text = *end ? end + 1 : end;
    }
    glyphs[used] = 0;
    return used;
}

HWND MakeEdit(HWND parent, bool unicode, int y, HFONT font) {
    HWND edit = unicode ? CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, y,
                                          1240, 56, parent, nullptr, nullptr, nullptr)
                        : CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, y,
                                          1240, 56, parent, nullptr, nullptr, nullptr);
    SendMessageA(edit, WM_SETFONT, (WPARAM)font, TRUE);
    return edit;
}

LRESULT CALLBACK ShowWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    char dir[MAX_PATH];
    GetModuleFileNameA(nullptr, dir, sizeof dir);
    char* slash = strrchr(dir, '\\');
    if (slash) slash[1] = 0;
    const char* fonts[] = {"DV-Velta.ttf", "SD-Velta.ttf", "DVB-TTVelta.ttf", "RM-Velta.ttf"};
    for (const char* f : fonts) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s%s", dir, f);
        printf("font %s: %d\n", f, AddFontResourceA(path));
    }
    printf("code page %u\n", GetACP());

    WNDCLASSA wc = {};
    wc.lpfnWndProc = ShowWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "VeltaAdapterShow";
    RegisterClassA(&wc);
    HWND window =
        CreateWindowExA(0, wc.lpszClassName, "Velta adapter check", WS_POPUP | WS_VISIBLE, 0, 0,
                        1260, 20 + 64 * (kLineCount + 2), nullptr, nullptr, wc.hInstance, nullptr);
    int y = 10;
    for (int k = 0; k < kLineCount; ++k) {
        const Line& line = kLines[k];
        HFONT font = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                 ANTIALIASED_QUALITY, 0, line.face);
        char glyphs[kGlyphsMax] = "";
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s%s", dir, line.module);
        HMODULE module = LoadLibraryA(path);
        AdapterEntryFn entry =
            module ? (AdapterEntryFn)(void*)GetProcAddress(module, line.entry) : nullptr;
        if (!entry) {
            printf("%s: no entry %s\n", line.module, line.entry);
            continue;
        }
        int n = Convert(entry, line, glyphs, sizeof glyphs);
        printf("%s:", line.module);
        for (int i = 0; i < n; ++i)
            printf(" %02X", (unsigned char)glyphs[i]);
        printf("\n");
        if (k == 0) {
            // The first line three ways: text, WM_CHAR to ANSI and Unicode edits.
            HWND asText = MakeEdit(window, false, y, font);
            SetWindowTextA(asText, glyphs);
            y += 64;
            HWND ansi = MakeEdit(window, false, y, font);
            y += 64;
            HWND wide = MakeEdit(window, true, y, font);
            for (int i = 0; i < n; ++i) {
                PostMessageA(ansi, WM_CHAR, (unsigned char)glyphs[i], 1);
                PostMessageA(wide, WM_CHAR, (unsigned char)glyphs[i], 1);
            }
        } else {
            SetWindowTextA(MakeEdit(window, false, y, font), glyphs);
        }
        y += 64;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    SetWindowTextA(window, "Velta adapter check - ready");
    fflush(stdout);
    int seconds = argc > 1 ? atoi(argv[1]) : 20;
    SetTimer(window, 1, (UINT)seconds * 1000, nullptr);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
