// Application categories: recognising the active application by its title
// and the message forms each category needs.
#include <string.h>

#include "driver/engine/engine.h"

namespace {

enum TitleTest { kContains, kBeginsWith };

struct CategoryRow {
    TitleTest test;
    const char* text;
    int category; // 0..13, or a flag index CAT_FLAG_WORDPRO / CAT_FLAG_123
};

// Tested top to bottom; the first match decides. Case-sensitive.
const CategoryRow kCategoryRows[] = {
    {kContains, "PageMaker", CATEGORY_WORD},
    {kContains, "Microsoft Word", CATEGORY_WORD},
    {kBeginsWith, "Microsoft Access", CATEGORY_WORD},
    {kBeginsWith, "INSCRIBER", CATEGORY_WORD},
    {kBeginsWith, "Write", CATEGORY_WRITE},
    {kBeginsWith, "Microsoft PowerPoint", CATEGORY_WRITE},
    {kBeginsWith, "WordPerfect", CATEGORY_WORDPERFECT},
    {kBeginsWith, "Microsoft Publisher", CATEGORY_PUBLISHER},
    {kBeginsWith, "Microsoft Excel", CATEGORY_EXCEL},
    {kBeginsWith, "Paradox", CATEGORY_PARADOX},
    {kBeginsWith, "Ami Pro", CATEGORY_AMIPRO},
    {kBeginsWith, "Ventura", CATEGORY_VENTURA},
    {kBeginsWith, "Corel VENTURA", CATEGORY_COREL_VENTURA},
    {kBeginsWith, "CorelDRAW!", CATEGORY_CORELDRAW},
    {kBeginsWith, "Edit Text", CATEGORY_CORELDRAW},
    {kBeginsWith, "QuarkXPress", CATEGORY_QUARK},
    {kContains, "TAV KEYBOARD OVERLAY", CATEGORY_OVERLAY},
    {kContains, "Freelance Graphics", CATEGORY_FREELANCE},
    {kContains, "Word Pro", CAT_FLAG_WORDPRO},
    {kContains, "1-2-3", CAT_FLAG_123},
};

bool RowMatches(const CategoryRow& row, const char* title) {
    return row.test == kContains ? ContainsText(title, row.text) : BeginsWithText(title, row.text);
}

void SetCategoryFlags(int category) {
    shared.categoryFlags[category] = 1;
    if (category == CATEGORY_PLAIN) shared.categoryFlags[CAT_FLAG_WORDPRO] = 1; // as Word Pro
}

} // namespace

void DetectCategory(void) {
    shared.lastActiveWindow = shared.activeWindow;
    shared.wordTitleFlag = ContainsText(shared.activeTitle, "Microsoft Word") ? 1 : 10;
    if (shared.multipleSets) _AS(shared.activeScript);
    memset(shared.categoryFlags, 0, sizeof shared.categoryFlags);
    for (const CategoryRow& row : kCategoryRows) {
        if (RowMatches(row, shared.activeTitle)) {
            SetCategoryFlags(row.category);
            return;
        }
    }
    int fallback = shared.defaultAppCategory;
    if (fallback < CATEGORY_PLAIN || fallback > CATEGORY_LAST) fallback = CATEGORY_PLAIN;
    SetCategoryFlags(fallback);
}

bool CategoryIs(int category) {
    if (category == CATEGORY_123) return shared.categoryFlags[CAT_FLAG_123] != 0;
    if (category < CATEGORY_PLAIN || category > CATEGORY_LAST) return false;
    return shared.categoryFlags[category] != 0;
}

/* ---------------- SetDefAppCategory ---------------- */
extern "C" void SetDefAppCategory(int category) {
    if (category < CATEGORY_PLAIN || category > CATEGORY_LAST) return;
    shared.defaultAppCategory = category;
    shared.lastActiveWindow = nullptr; // detect again at the next key-down
}

/* ---------------- AMIProTable ---------------- */
extern "C" int AMIProTable(int value) {
    shared.amiProEscape = value == 0 ? 1 : 0;
    MessageBeep(0);
    return 0;
}

/* ---------------- MSWordIsGettingInputFocus ---------------- */
extern "C" int MSWordIsGettingInputFocus(void) {
    if (shared.wordFocusRequest != 1) return 0;
    shared.activeWindow = GetActiveWindow();
    shared.wordFocusRequest = 0;
    return 1;
}

namespace {

struct EraseStep {
    UINT message;
    WPARAM wParam;
    uint32_t lParam;
};

// Category 3's back-space character code.
const WPARAM kPublisherBackspace = 0x108;

// The messages that erase one glyph, by category; posted unless the
// category sends them (7). Categories not listed take the default.
struct EraseRow {
    int category;
    bool sendSynchronously;
    EraseStep steps[3];
    int stepCount;
};

const EraseRow kDefaultErase = {-1,
                                false,
                                {{WM_KEYDOWN, VK_BACK, 0xC00E0001u},
                                 {WM_CHAR, VK_BACK, 0xC00E0001u},
                                 {WM_KEYUP, VK_BACK, 0xC00E0001u}},
                                3};

const EraseRow kEraseRows[] = {
    {CATEGORY_WRITE, false, {{WM_KEYDOWN, VK_BACK, 0x000E0001u}}, 1},
    {CATEGORY_WORDPERFECT, false, {{WM_KEYDOWN, VK_BACK, 0x000E0001u}, {WM_KEYUP, VK_BACK, 0xC00E0001u}}, 2},
    {CATEGORY_PUBLISHER, false, {{WM_CHAR, kPublisherBackspace, 0x000E0001u}}, 1},
    {CATEGORY_EXCEL, false, {{WM_KEYDOWN, VK_BACK, 0x000E0001u}, {WM_CHAR, VK_BACK, 0x000E0001u}}, 2},
    {CATEGORY_PARADOX,
     false,
     {{WM_KEYDOWN, VK_BACK, 0x00080001u},
      {WM_CHAR, VK_BACK, 0x00080001u},
      {WM_KEYUP, VK_BACK, 0xC0080001u}},
     3},
    {CATEGORY_COREL_VENTURA, false, {{WM_CHAR, VK_BACK, 0x000E0001u}}, 1},
    {CATEGORY_CORELDRAW, true, {{WM_KEYDOWN, VK_BACK, 0x000E0001u}}, 1},
    {CATEGORY_WORD, false, {{WM_CHAR, VK_BACK, 0x000E0001u}}, 1},
};

const EraseRow& EraseRowForCategory() {
    for (const EraseRow& row : kEraseRows)
        if (CategoryIs(row.category)) return row;
    return kDefaultErase;
}

// lParam of a character typed into category 8 (QuarkXPress): the key's scan
// code for ASCII glyphs, a fixed Alt-like value for the upper half.
LPARAM OemCharLParam(unsigned char code) {
    if (code >= 0x80) return (LPARAM)0xC0380001u;
    return (LPARAM)(uint32_t)((OemKeyScan(code) << 16) | 1u);
}

// The application's shortcut that opens its font dialog.
struct FontShortcut {
    const char* titlePart;
    BYTE keys[6];
    bool release[6];
};

const FontShortcut kFontShortcuts[] = {
    {"Write", {VK_MENU, 'C', 'C', VK_MENU, 'F', 'F'}, {false, false, true, true, false, true}},
    {"QuarkXPress",
     {VK_CONTROL, VK_SHIFT, 'D', 'D', VK_SHIFT, VK_CONTROL},
     {false, false, false, true, true, true}},
    {"Microsoft Publisher",
     {VK_MENU, 'T', 'T', VK_MENU, 'C', 'C'},
     {false, false, true, true, false, true}},
    {"WordPad", {VK_MENU, 'O', 'O', 'F', 'F', VK_MENU}, {false, false, true, false, true, true}},
};

// Default face of the active script for the present option and mode.
const char* DefaultFaceForTyping() {
    int slot = shared.activeScript - 64;
    if (slot < 0 || slot >= NK_FONT_SLOTS) slot = 0;
    if (shared.dualFont) return shared.bilingualFontNames[slot];
    if (shared.typingMode == MODE_ENGLISH) return shared.englishFontNames[slot];
    return shared.scriptFontNames[slot];
}

void TypeKey(BYTE key) {
    PostVirtualKeyEvent(key, 0);
    PostVirtualKeyEvent(key, 1);
}

} // namespace

// Send the category's sequence that erases one glyph before the caret.
void EraseOneGlyph(HWND window) {
    const EraseRow& row = EraseRowForCategory();
    for (int i = 0; i < row.stepCount; ++i) {
        const EraseStep& step = row.steps[i];
        if (row.sendSynchronously)
            SendMessageA(window, step.message, step.wParam, (LPARAM)step.lParam);
        else
            PostMessageA(window, step.message, step.wParam, (LPARAM)step.lParam);
    }
}

// Post one glyph as a character in the category's form.
void TypeOneGlyph(HWND window, unsigned char glyph) {
    const LPARAM lParam = CategoryIs(CATEGORY_QUARK) ? OemCharLParam(glyph) : 1;
    PostMessageA(window, WM_CHAR, glyph, lParam);
}

// Make the application's font dialog choose the active script's default
// font: the dialog's shortcut, the face name typed in upper case, then Enter
// and Esc. Only the applications known to take these keys; nothing checks
// that a dialog opened.
void SelectFontInApplication(const char* title) {
    if (!title) return;
    const FontShortcut* shortcut = nullptr;
    for (const FontShortcut& row : kFontShortcuts) {
        if (ContainsText(title, row.titlePart)) {
            shortcut = &row;
            break;
        }
    }
    if (!shortcut) return;
    for (int i = 0; i < 6; ++i)
        PostVirtualKeyEvent(shortcut->keys[i], shortcut->release[i] ? 1 : 0);

    char face[NK_FONT_NAME_SIZE];
    memcpy(face, DefaultFaceForTyping(), sizeof face); // a slot may lack its terminator
    face[sizeof face - 1] = 0;
    UpperCaseText(face);
    for (const char* p = face; *p; ++p)
        TypeKey(LOBYTE(VkKeyScanA(*p)));
    TypeKey(VK_RETURN);
    TypeKey(VK_ESCAPE);
}
