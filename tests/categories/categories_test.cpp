// Choosing the script's font in word processors: the switch key's release
// types the application's font dialog shortcut, the default face in upper
// case, Enter and Esc.
#include <gtest/gtest.h>

#include "tests/activation/module_folder.h"

using namespace nktest;

namespace {

TEST(SelectFont, ShortcutAndFaceOfEveryKnownApplication) {
    HWND window = CreateTestWindow("Untitled - Test Editor");
    SharedState& s = State();
    CopyText(s.scriptFontNames['B' - 64], NK_FONT_NAME_SIZE, "dv-ab");
    CopyText(s.englishFontNames['B' - 64], NK_FONT_NAME_SIZE, "Dv1-C");
    CopyText(s.bilingualFontNames['B' - 64], NK_FONT_NAME_SIZE, "DVB-D");
    const std::string tail = " +13 -13 +27 -27";
    struct Row {
        const char* title;
        int dualFont, mode;
        std::string keys;
    } rows[] = {
        {"Write - Untitled", 0, MODE_SCRIPT,
         "+18 +67 -67 -18 +70 -70 +68 -68 +86 -86 +189 -189 +65 -65 +66 -66" + tail},
        {"Document - QuarkXPress", 0, MODE_ENGLISH,
         "+17 +16 +68 -68 -16 -17 +68 -68 +86 -86 +49 -49 +189 -189 +67 -67" + tail},
        {"Microsoft Publisher - Pub1", 1, MODE_SCRIPT,
         "+18 +84 -84 -18 +67 -67 +68 -68 +86 -86 +66 -66 +189 -189 +68 -68" + tail},
        {"Document - WordPad", 1, MODE_ENGLISH,
         "+18 +79 -79 +70 -70 -18 +68 -68 +86 -86 +66 -66 +189 -189 +68 -68" + tail},
        {"My Write", 0, MODE_SCRIPT, // a contains test, unlike the category's
         "+18 +67 -67 -18 +70 -70 +68 -68 +86 -86 +189 -189 +65 -65 +66 -66" + tail},
        {"Untitled - Notepad", 0, MODE_SCRIPT, ""},
        {"Document - WordPad", 0, MODE_DISABLED_SCRIPT, ""}, // disabled: no choice
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        ResetDriver(VK_CAPITAL, row.mode == MODE_SCRIPT);
        s.typingMode = row.mode;
        s.dualFont = row.dualFont;
        CopyText(s.activeTitle, sizeof s.activeTitle, row.title);
        MSG msg = Message(window, WM_KEYUP, VK_CAPITAL, (LPARAM)0xC03A0001u);
        _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        EXPECT_EQ(KeyEvents(window), row.keys);
    }
    s.dualFont = 0;
    DestroyWindow(window);
}

} // namespace
