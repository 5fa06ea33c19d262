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
    {kContains, "PageMaker", 11},
    {kContains, "Microsoft Word", 11},
    {kBeginsWith, "Microsoft Access", 11},
    {kBeginsWith, "INSCRIBER", 11},
    {kBeginsWith, "Write", 1},
    {kBeginsWith, "Microsoft PowerPoint", 1},
    {kBeginsWith, "WordPerfect", 2},
    {kBeginsWith, "Microsoft Publisher", 3},
    {kBeginsWith, "Microsoft Excel", 4},
    {kBeginsWith, "Paradox", 5},
    {kBeginsWith, "Ami Pro", 9},
    {kBeginsWith, "Ventura", 10},
    {kBeginsWith, "Corel VENTURA", 6},
    {kBeginsWith, "CorelDRAW!", 7},
    {kBeginsWith, "Edit Text", 7},
    {kBeginsWith, "QuarkXPress", 8},
    {kContains, "TAV KEYBOARD OVERLAY", 12},
    {kContains, "Freelance Graphics", 13},
    {kContains, "Word Pro", CAT_FLAG_WORDPRO},
    {kContains, "1-2-3", CAT_FLAG_123},
};

bool RowMatches(const CategoryRow& row, const char* title) {
    return row.test == kContains ? ContainsText(title, row.text) : BeginsWithText(title, row.text);
}

void SetCategoryFlags(int category) {
    shared.categoryFlags[category] = 1;
    if (category == 0) shared.categoryFlags[CAT_FLAG_WORDPRO] = 1; // 0 behaves as Word Pro
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
    if (fallback < 0 || fallback > 13) fallback = 0;
    SetCategoryFlags(fallback);
}

bool CategoryIs(int category) {
    if (category == CATEGORY_123) return shared.categoryFlags[CAT_FLAG_123] != 0;
    if (category < 0 || category > 13) return false;
    return shared.categoryFlags[category] != 0;
}

/* ---------------- SetDefAppCategory ---------------- */
extern "C" void SetDefAppCategory(int category) {
    if (category < 0 || category > 13) return;
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

void EraseOneGlyph(HWND window) {
    const LPARAM lParam = (LPARAM)0xC00E0001u;
    PostMessageA(window, WM_KEYDOWN, VK_BACK, lParam);
    PostMessageA(window, WM_CHAR, VK_BACK, lParam);
    PostMessageA(window, WM_KEYUP, VK_BACK, lParam);
}

void TypeOneGlyph(HWND window, unsigned char glyph) { PostMessageA(window, WM_CHAR, glyph, 1); }

void SelectFontInApplication(const char* title) {
    (void)title; // the word processors' shortcut sequences come with the category behaviours
}
