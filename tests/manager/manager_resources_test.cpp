// The resources of davrin.exe, read from the built program: the menu
// "TAVMENU" item by item, the dialog templates with their controls, the
// pictures and the version information.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "manager/resources/resource_ids.h"
#include "tests/manager/manager_session.h"

namespace {

HMODULE Program() {
    static HMODULE module =
        LoadLibraryExA((nkmgr::BinDir() + "davrin.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

struct MenuRow {
    int popup;        // position in the menu bar
    int position;     // position in the popup
    int id;           // -1 popup, 0 separator
    const char* text; // item text, "\t" before the hot-key label
    bool grayed;
};

std::string Text(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(ManagerResources, MenuBarHasItsFivePopups) {
    HMENU menu = LoadMenuA(Program(), "TAVMENU");
    ASSERT_NE(menu, nullptr);
    const char* bar[] = {"&File", "&Script", "Se&ttings", "&Keyboard", "&Help"};
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Text(menu, i), bar[i]) << i;
    DestroyMenu(menu);
}

TEST(ManagerResources, MenuItemsIdsTextsAndStates) {
    // clang-format off
    const MenuRow rows[] = {
        {0, 0, 208, "Exit", false},
        {1, 0, 65, "Diacritic &Roman\tCtrl+Shift+F1", true}, {1, 1, 0, "", false},
        {1, 2, 66, "&Devanagari\tCtrl+Shift+F2", true},      {1, 3, 0, "", false},
        {1, 4, 67, "&Bengali\tCtrl+Shift+F3", true},         {1, 5, 0, "", false},
        {1, 6, 68, "&Tamil\tCtrl+Shift+F4", true},           {1, 7, 0, "", false},
        {1, 8, 69, "Te&Lugu\tCtrl+Shift+F5", true},          {1, 9, 0, "", false},
        {1, 10, 70, "&Assamese\tCtrl+Shift+F6", true},       {1, 11, 0, "", false},
        {1, 12, 71, "&Oriya\tCtrl+Shift+F7", true},          {1, 13, 0, "", false},
        {1, 14, 72, "&Kannada\tCtrl+Shift+F8", true},        {1, 15, 0, "", false},
        {1, 16, 73, "&Malayalam\tCtrl+Shift+F9", true},      {1, 17, 0, "", false},
        {1, 18, 74, "&Gujarati\tCtrl+Shift+F11", true},      {1, 19, 0, "", false},
        {1, 20, 75, "&Punjabi\tCtrl+Shift+F12", true},       {1, 21, 0, "", false},
        {1, 22, 82, "Sanskrit-DEV", true},
        {2, 0, 176, "&Disable TAV", false},
        {2, 1, 177, "&Hyphenation", false},
        {2, 2, 178, "Roman &International", false},
        {2, 3, -1, "&Roman Capitals", false},
        {2, 4, 210, "&Tune application", false},
        {2, 5, 187, "&Set default fonts", false},
        {2, 6, -1, "InScript to &English switch", false},
        {2, 7, 179, "&Bilingual Enable", false},
        {3, 0, 160, "&Inscript", false},
        {3, 1, 161, "Phonetic English", false},
        {3, 2, 163, "&Others", false},
        {4, 0, 193, "&Keyboard Overlay", false},
        {4, 1, 192, "&About TAV...", false},
        {4, 2, 3844, "&Contents", false},
    };
    const int counts[] = {1, 23, 8, 3, 3};
    // clang-format on
    HMENU menu = LoadMenuA(Program(), "TAVMENU");
    ASSERT_NE(menu, nullptr);
    for (int p = 0; p < 5; ++p)
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, p)), counts[p]) << p;
    int n = 0;
    for (const MenuRow& row : rows) {
        HMENU popup = GetSubMenu(menu, row.popup);
        const UINT state = GetMenuState(popup, (UINT)row.position, MF_BYPOSITION);
        if (row.id == 0) {
            EXPECT_NE(state & MF_SEPARATOR, 0u) << "row " << n;
        } else if (row.id < 0) {
            EXPECT_NE(GetSubMenu(popup, row.position), nullptr) << "row " << n;
        } else {
            EXPECT_EQ((int)GetMenuItemID(popup, row.position), row.id) << "row " << n;
        }
        if (row.id != 0) {
            EXPECT_EQ(Text(popup, row.position), row.text) << "row " << n;
        }
        // Separators report their own state bits; only items are compared.
        if (row.id != 0) {
            EXPECT_EQ((state & MF_GRAYED) != 0, row.grayed) << "row " << n;
        }
        ++n;
    }
    // The two nested popups.
    HMENU settings = GetSubMenu(menu, 2);
    HMENU capitals = GetSubMenu(settings, 3);
    const int capitalIds[] = {180, 181, 182};
    const char* capitalTexts[] = {"&Lower Case", "&Upper Case", "&Initial Caps"};
    ASSERT_EQ(GetMenuItemCount(capitals), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((int)GetMenuItemID(capitals, i), capitalIds[i]);
        EXPECT_EQ(Text(capitals, i), capitalTexts[i]);
    }
    HMENU switches = GetSubMenu(settings, 6);
    const int switchIds[] = {144, 20, 145};
    const char* switchTexts[] = {"&NumLock", "&CapsLock", "&ScrollLock"};
    ASSERT_EQ(GetMenuItemCount(switches), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((int)GetMenuItemID(switches, i), switchIds[i]);
        EXPECT_EQ(Text(switches, i), switchTexts[i]);
    }
    DestroyMenu(menu);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

struct DialogRow {
    const char* name;
    const char* title;
    std::vector<int> controls;
};

TEST(ManagerResources, DialogTemplatesCarryTheirTitlesAndControls) {
    std::vector<int> keys;
    for (int id = 242; id <= 253; ++id)
        keys.push_back(id);
    for (int id = 256; id <= 267; ++id)
        keys.push_back(id);
    for (int id = 270; id <= 293; ++id)
        if (id != 282) keys.push_back(id); // scan 42 is the left Shift: no character key
    for (int id = 294; id <= 308; ++id)
        keys.push_back(id);
    const DialogRow rows[] = {
        {"AboutBox", "ABOUT TAV", {IDOK, IDC_ABOUT_ICON}},
        {"TUNEAPP", "Application Category", {IDOK, IDC_CATEGORY_SCROLL, IDC_CATEGORY_VALUE}},
        {"FONTSEL_WORD", "Default fonts selection", {245, 247, 248, 249, 250}},
        {"BILINGUAL_FONT_DLG", "Default Font Selection", {245, 247, 248, 250}},
        {"KBDOVR", "TAV KEYBOARD OVERLAY [INSCRIPT]", keys},
        {"PRINTABORT", "TAV", {IDC_PRINT_CANCEL}},
        {"PRINTSETUP", "Print Setup", {195, 196, IDOK, IDCANCEL}},
    };
    for (const DialogRow& row : rows) {
        HWND dialog = CreateDialogParamA(Program(), row.name, nullptr, QuietDialog, 0);
        ASSERT_NE(dialog, nullptr) << row.name;
        char title[128] = "";
        GetWindowTextA(dialog, title, sizeof title);
        EXPECT_STREQ(title, row.title) << row.name;
        for (int id : row.controls)
            EXPECT_NE(GetDlgItem(dialog, id), nullptr) << row.name << ": control " << id;
        DestroyWindow(dialog);
    }
    // "TUNEAPP" closes only with "Ok"; the overlay carries its menu.
    HMENU overlayMenu = LoadMenuA(Program(), "KBDHELPMENU");
    ASSERT_NE(overlayMenu, nullptr);
    HMENU file = GetSubMenu(overlayMenu, 0);
    EXPECT_EQ((int)GetMenuItemID(file, 0), IDM_OVERLAY_PRINT);
    EXPECT_EQ((int)GetMenuItemID(file, 1), IDM_EXIT);
    DestroyMenu(overlayMenu);
}

TEST(ManagerResources, PicturesIconAndVersion) {
    HBITMAP logo = LoadBitmapA(Program(), "TAV_LOGO");
    HBITMAP splash = LoadBitmapA(Program(), "TAV_OPEN");
    ASSERT_NE(logo, nullptr);
    ASSERT_NE(splash, nullptr);
    BITMAP info;
    GetObjectA(splash, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 320);
    EXPECT_EQ(info.bmHeight, 160);
    DeleteObject(logo);
    DeleteObject(splash);
    EXPECT_NE(FindResourceA(Program(), "TAVICON", (LPCSTR)RT_GROUP_ICON), nullptr);

    const std::string path = nkmgr::BinDir() + "davrin.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    char* product = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductName",
                               (void**)&product, &length));
    EXPECT_STREQ(product, "VELTA SCRIPT MANAGER");
}

} // namespace
