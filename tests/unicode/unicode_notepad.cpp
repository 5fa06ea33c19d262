// Helper of notepad_unicode.sh, run under Wine.
//
//   unicode_notepad keys LANGUAGE COUNT OUTPUT
//       the first COUNT words of unicode_words\typing_LANGUAGE.tsv whose codes
//       all have an Inscript key, one line each: the xdotool key names that
//       type the word, a tab, the word's UTF-16 units in hexadecimal;
//   unicode_notepad read OUTPUT [close]
//       the text of notepad's edit control read with WM_GETTEXT (wide), as
//       UTF-16 units in hexadecimal on one line ("NONE" without notepad);
//       with "close", the text is marked saved and notepad is closed.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "include/nelkor.h"
#include "tests/harness/notepad_text.h"

namespace {

enum { kLineMax = 1024, kKeyNameMax = 32 };

struct KeyName {
    int vk;
    const char* name;
};
// X key names of the keys that are not letters or digits (US layout).
const KeyName kOemKeys[] = {
    {VK_OEM_1, "semicolon"},    {VK_OEM_PLUS, "equal"},    {VK_OEM_COMMA, "comma"},
    {VK_OEM_MINUS, "minus"},    {VK_OEM_PERIOD, "period"}, {VK_OEM_2, "slash"},
    {VK_OEM_3, "grave"},        {VK_OEM_4, "bracketleft"}, {VK_OEM_5, "backslash"},
    {VK_OEM_6, "bracketright"}, {VK_OEM_7, "apostrophe"},
};

// The xdotool name of a key, "" when it has none here.
void NameOfKey(int vk, bool shift, char* name, size_t size) {
    const char* base = nullptr;
    char letter[2] = {0, 0};
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        letter[0] = (char)(vk >= 'A' ? vk - 'A' + 'a' : vk);
        base = letter;
    }
    for (const KeyName& k : kOemKeys)
        if (k.vk == vk) base = k.name;
    if (!base) {
        name[0] = 0;
        return;
    }
    snprintf(name, size, "%s%s", shift ? "shift+" : "", base);
}

// Key names for each single ISCII code of the Inscript layout.
char keyNames[256][kKeyNameMax];

void LearnInscript() {
    const LayoutTable* table = _LKT(nullptr, KBD_INSCRIPT);
    for (int scan = 0; scan < LAYOUT_KEYS; ++scan) {
        const int vk = (int)MapVirtualKeyA((UINT)scan, 1);
        if (!((vk >= '0' && vk <= 'Z') || vk >= VK_SCROLL)) continue; // composed keys only
        const KeyEntry& k = table->keys[scan];
        const unsigned char normal = (unsigned char)k.scriptNormal[0];
        const unsigned char shifted = (unsigned char)k.scriptShifted[0];
        if (normal && !k.scriptNormal[1] && !keyNames[normal][0])
            NameOfKey(vk, false, keyNames[normal], kKeyNameMax);
        if (shifted && !k.scriptShifted[1] && !keyNames[shifted][0])
            NameOfKey(vk, true, keyNames[shifted], kKeyNameMax);
    }
}

int Keys(const char* language, int count, const char* output) {
    LearnInscript();
    char path[MAX_PATH];
    snprintf(path, sizeof path, "unicode_words\\typing_%s.tsv", language);
    FILE* in = fopen(path, "r");
    FILE* out = fopen(output, "w");
    if (!in || !out) return 3;
    char line[kLineMax];
    int written = 0;
    while (written < count && fgets(line, sizeof line, in)) {
        char* tab = strchr(line, '\t');
        if (!tab) continue;
        char keys[kLineMax * 8] = "";
        bool typable = true;
        for (const char* p = line; p + 1 < tab && typable; p += 2) {
            const char hex[3] = {p[0], p[1], 0};
            const char* name = keyNames[strtol(hex, nullptr, 16) & 0xFF];
            typable = name[0] != 0 && strlen(keys) + strlen(name) + 2 < sizeof keys;
            if (typable) {
                strcat(keys, keys[0] ? " " : "");
                strcat(keys, name);
            }
        }
        if (!typable) continue;
        fprintf(out, "%s\t%s", keys, tab + 1);
        ++written;
    }
    fclose(in);
    fclose(out);
    return written == count ? 0 : 4;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && strcmp(argv[1], "keys") == 0) return Keys(argv[2], atoi(argv[3]), argv[4]);
    if (argc >= 3 && strcmp(argv[1], "read") == 0)
        return WriteNotepadText(argv[2], NOTEPAD_UNITS, argc > 3 && strcmp(argv[3], "close") == 0);
    fprintf(stderr, "usage: unicode_notepad keys LANGUAGE COUNT OUTPUT | read OUTPUT [close]\n");
    return 2;
}
