// Default fonts: the tables loaded from the settings file and the installed
// faces, and the default font dialog driven through its messages as the user
// would drive it. The product's faces are made available to this process
// only; a renamed copy "DV-Aelta" gives Devanagari a second face that sorts
// first.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/activation/box_watcher.h"
#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

const char kCaption[] = "Font dialog under test";

// ---- the installed faces ----

std::string TempFolder() {
    static std::string folder;
    if (folder.empty()) {
        // Below the program folder: the driver reads its settings file only
        // from there (or from the Windows folder).
        folder = ProgramFolder() + "nk_fonts_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

std::string ReadWhole(const std::string& path) {
    std::string data;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(file, nullptr), got = 0;
    data.resize(size);
    if (!::ReadFile(file, &data[0], size, &got, nullptr) || got != size) data.clear();
    CloseHandle(file);
    return data;
}

void WriteWhole(const std::string& path, const std::string& data) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD put = 0;
    ::WriteFile(file, data.data(), (DWORD)data.size(), &put, nullptr);
    CloseHandle(file);
}

// Replace every occurrence of from by to (same length), in 8-bit and in
// UTF-16BE form: the name table holds both.
void Rename(std::string& font, const std::string& from, const std::string& to) {
    std::string wideFrom, wideTo;
    for (size_t i = 0; i < from.size(); ++i) {
        wideFrom += '\0', wideFrom += from[i];
        wideTo += '\0', wideTo += to[i];
    }
    for (auto [a, b] : {std::pair{from, to}, std::pair{wideFrom, wideTo}})
        for (size_t at = font.find(a); at != std::string::npos; at = font.find(a, at + 1))
            font.replace(at, a.size(), b);
}

std::string FontPath(const char* face) {
    if (strcmp(face, "DV-Aelta") == 0) return TempFolder() + "DV-Aelta.ttf";
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return std::string(dir) + "\\" + face + ".ttf";
}

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
    ((std::vector<std::string>*)data)->push_back(font->lfFaceName);
    return 1;
}

std::vector<std::string> EnumeratedFaces() {
    std::vector<std::string> faces;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesA(dc, nullptr, CollectFace, (LPARAM)&faces);
    ReleaseDC(nullptr, dc);
    return faces;
}

bool Installed(const std::string& face) {
    for (const std::string& f : EnumeratedFaces())
        if (f == face) return true;
    return false;
}

// The first enumerated face that begins with start: what gap filling takes.
std::string FirstEnumerated(const std::string& start) {
    for (const std::string& f : EnumeratedFaces())
        if (f.compare(0, start.size(), start) == 0) return f;
    return "";
}

const char* const kProductFaces[] = {"DV-Velta",    "DV1-Velta",   "DVB-TTVelta", "RM-Velta",
                                     "RM1-Velta",   "RMB-TTVelta", "SD-Velta",    "SD1-Velta",
                                     "SDB-TTVelta", "VD-Velta",    "DV-Aelta"};

void SetInstalled(const char* face, bool on) {
    std::string path = FontPath(face);
    if (on == Installed(face)) return;
    if (on)
        ASSERT_GT(AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr), 0) << path;
    else
        ASSERT_TRUE(RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr)) << path;
    ASSERT_EQ(Installed(face), on) << face;
}

// ---- the dialog ----

// An in-memory template: list boxes 245 and 247, 249 unless bilingual,
// buttons 248 and 250; every list sorts and notifies, as in the manager's.
std::vector<WORD> DialogTemplate(bool withEnglishList) {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) { t.push_back(LOWORD(v)), t.push_back(HIWORD(v)); };
    auto text = [&](const char* s) {
        do
            t.push_back((WORD)(unsigned char)*s);
        while (*s++);
    };
    struct Item {
        WORD id;
        WORD cls; // 0x0080 button, 0x0083 list box
        DWORD style;
        short x, y;
    };
    std::vector<Item> items = {
        {245, 0x83, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 8, 8},
        {247, 0x83, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 86, 8},
        {248, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, 70, 110},
        {250, 0x80, BS_PUSHBUTTON | WS_TABSTOP, 130, 110}};
    if (withEnglishList)
        items.push_back(
            {249, 0x83, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 168, 8});
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    dword(0);
    t.push_back((WORD)items.size());
    for (short v : {40, 30, 250, 130})
        t.push_back((WORD)v);
    t.push_back(0); // no menu
    t.push_back(0); // the dialog class
    text(kCaption);
    for (const Item& item : items) {
        if (t.size() % 2) t.push_back(0); // items are DWORD aligned
        dword(item.style | WS_CHILD | WS_VISIBLE);
        dword(0);
        const bool list = item.cls == 0x83;
        for (short v : {item.x, item.y, (short)(list ? 75 : 50), (short)(list ? 90 : 14)})
            t.push_back((WORD)v);
        t.push_back(item.id);
        t.push_back(0xFFFF);
        t.push_back(item.cls);
        text(item.id == 248 ? "OK" : item.id == 250 ? "Cancel" : "");
        t.push_back(0); // no creation data
    }
    return t;
}

// What the user does while the dialog is open; runs inside its modal loop
// once the dialog has shown its first script.
std::function<void(HWND)> scenario;
HWND openDialog;

UINT_PTR watchdog;

// A dialog that has not ended half a second after the scenario is stuck: end
// it so that the suite goes on.
void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    watchdog = 0;
    if (!IsWindow(openDialog)) return;
    ADD_FAILURE() << "the dialog did not end";
    EndDialog(openDialog, 77);
}

void CALLBACK RunScenario(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    openDialog = FindWindowA("#32770", kCaption);
    if (!openDialog) return;
    scenario(openDialog);
    watchdog = SetTimer(nullptr, 0, 500, EndStuckDialog);
}

// Open the dialog modally with FontDlgProc, run the scenario inside it, and
// return the dialog's result.
INT_PTR RunDialog(bool withEnglishList, std::function<void(HWND)> what) {
    std::vector<WORD> t = DialogTemplate(withEnglishList);
    scenario = what;
    SetTimer(nullptr, 0, 10, RunScenario);
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), (LPCDLGTEMPLATEA)t.data(),
                                             nullptr, FontDlgProc, 0);
    if (watchdog) KillTimer(nullptr, watchdog);
    watchdog = 0;
    return result;
}

std::vector<std::string> ListItems(HWND dialog, int id) {
    std::vector<std::string> items;
    LRESULT n = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        char text[256] = "";
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

std::string Selected(HWND dialog, int id) {
    LRESULT at = SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0);
    if (at < 0) return "<none>";
    char text[256] = "";
    SendDlgItemMessageA(dialog, id, LB_GETTEXT, at, (LPARAM)text);
    return text;
}

// The user clicks entry text of list id.
void Pick(HWND dialog, int id, const char* text) {
    LRESULT at = SendDlgItemMessageA(dialog, id, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    ASSERT_GE(at, 0) << text << " is not in list " << id;
    SendDlgItemMessageA(dialog, id, LB_SETCURSEL, at, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)GetDlgItem(dialog, id));
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

std::string Join(const std::vector<std::string>& items) {
    std::string all;
    for (const std::string& s : items)
        all += (all.empty() ? "" : ", ") + s;
    return all;
}

// The entries in byte order: the list's own order follows the platform's
// word sort, which passes over hyphens.
std::string JoinSorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return Join(items);
}

// ---- the fixture ----

class DefaultFonts : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string font = ReadWhole(FontPath("DV-Velta"));
        ASSERT_FALSE(font.empty());
        Rename(font, "DV-Velta", "DV-Aelta");
        WriteWhole(FontPath("DV-Aelta"), font);
    }
    void SetUp() override {
        for (const char* face : kProductFaces)
            SetInstalled(face, true);
        SharedState& s = State();
        CopyText(s.iniDirectory, sizeof s.iniDirectory, TempFolder().c_str());
        ini = TempFolder() + "TAVWIN.INI";
        DeleteFileA(ini.c_str());
        s.dualFont = 0;
        s.activeScript = SCRIPT_DEVANAGARI;
        s.wordFocusRequest = 0;
        for (int i = 0; i < NK_FONT_SLOTS; ++i) {
            CopyText(s.scriptFontNames[i], NK_FONT_NAME_SIZE, "");
            CopyText(s.englishFontNames[i], NK_FONT_NAME_SIZE, "");
            CopyText(s.bilingualFontNames[i], NK_FONT_NAME_SIZE, "");
        }
    }
    void TearDown() override {
        State().dualFont = 0;
        SetAvailScripts("", "");
    }
    void Write(const char* key, const char* value) {
        WritePrivateProfileStringA("DEFAULTFONTS", key, value, ini.c_str());
    }
    std::string Read(const char* key) {
        char value[128] = "";
        GetPrivateProfileStringA("DEFAULTFONTS", key, "<missing>", value, sizeof value,
                                 ini.c_str());
        return value;
    }
    std::string Keys() {
        char keys[1024] = {};
        GetPrivateProfileStringA("DEFAULTFONTS", nullptr, "", keys, sizeof keys, ini.c_str());
        std::set<std::string> sorted;
        for (const char* k = keys; *k; k += strlen(k) + 1)
            sorted.insert(k);
        std::string all;
        for (const std::string& k : sorted)
            all += k + "=" + Read(k.c_str()) + ";";
        return all;
    }
    static const char* ScriptFace(int code) { return State().scriptFontNames[code - 64]; }
    static const char* EnglishFace(int code) { return State().englishFontNames[code - 64]; }
    static const char* BilingualFace(int code) { return State().bilingualFontNames[code - 64]; }
    std::string ini;
};

// Without a settings file every available script gets the first face of its
// family as the system enumerates them; faces like "VD-Velta" whose hyphen
// follows no script prefix are passed over, and scripts that are not
// available are left alone.
TEST_F(DefaultFonts, GapFillingTakesTheFirstFaceOfEachFamily) {
    SetAvailScripts("ABR", "RM-DV-SD-");
    EXPECT_EQ(ScriptFace('B'), FirstEnumerated("DV-"));
    EXPECT_EQ(ScriptFace('A'), std::string("RM-Velta"));
    EXPECT_EQ(ScriptFace('R'), std::string("SD-Velta"));
    EXPECT_STREQ(EnglishFace('B'), "NotFound") << "only the dialog derives English faces";
    EXPECT_STREQ(ScriptFace('C'), "") << "Bengali is not available";
    for (int code = 'A'; code <= 'R'; ++code)
        EXPECT_STRNE(ScriptFace(code), "VD-Velta") << (char)code;

    // With the bilingual option the gap takes a bilingual face.
    State().dualFont = 1;
    SetAvailScripts("ABR", "RM-DV-SD-");
    EXPECT_STREQ(BilingualFace('B'), "DVB-TTVelta");
    EXPECT_STREQ(BilingualFace('R'), "SDB-TTVelta");
}

// Settings values: the three keys per script, cut to 39 characters, blanks
// for the scripts without a prefix, and values naming no installed face kept.
TEST_F(DefaultFonts, SettingsValuesFillTheTables) {
    Write("DV", "DV-Missing");
    Write("DV1", "Courier New");
    Write("DVB", "DVB-Other");
    Write("RM", std::string(60, 'x').c_str());
    Write("  ", "TB-Face");
    Write("  1", "TB1-Face");
    SetAvailScripts("ABM", "RM-DV-  -");
    EXPECT_STREQ(ScriptFace('B'), "DV-Missing");
    EXPECT_STREQ(EnglishFace('B'), "Courier New");
    EXPECT_STREQ(BilingualFace('B'), "") << "bilingual keys are read with the option only";
    EXPECT_EQ(ScriptFace('A'), std::string(39, 'x'));
    EXPECT_STREQ(ScriptFace('M'), "TB-Face");
    EXPECT_STREQ(EnglishFace('M'), "TB1-Face");
    State().dualFont = 1;
    SetAvailScripts("ABM", "RM-DV-  -");
    EXPECT_STREQ(BilingualFace('B'), "DVB-Other");
}

// Opening the dialog on Devanagari without settings: the scripts listed by
// display name with Devanagari selected, the gap-filled face selected, and
// the English-mode face derived from the script face's companion DV1-.
TEST_F(DefaultFonts, DialogShowsTheActiveScriptsDefaults) {
    SetAvailScripts("ABR", "RM-DV-SD-");
    const std::string first = FirstEnumerated("DV-");
    INT_PTR result = RunDialog(true, [&](HWND dialog) {
        EXPECT_EQ(Join(ListItems(dialog, 245)), "Devanagari, Roman, Sanskrit-DEV");
        EXPECT_EQ(Selected(dialog, 245), "Devanagari");
        EXPECT_EQ(Join(ListItems(dialog, 247)), "DV-Aelta, DV-Velta");
        EXPECT_EQ(Selected(dialog, 247), first);
        EXPECT_EQ(ScriptFace('B'), first);
        EXPECT_STREQ(EnglishFace('B'), "DV1-Velta");
        EXPECT_EQ(Selected(dialog, 249), "DV1-Velta");
        for (const std::string& face : ListItems(dialog, 249))
            EXPECT_NE(face[2], '-') << face << " is a script face";
        Click(dialog, 250);
    });
    EXPECT_EQ(result, 1);
}

// A settings value naming a face that is not installed is replaced by the
// first face of the family's list; an English face that is listed stays.
TEST_F(DefaultFonts, MissingFaceIsReplacedByTheFirstListed) {
    Write("DV", "DV-Missing");
    Write("DV1", "RM1-Velta");
    SetAvailScripts("B", "DV-");
    RunDialog(true, [&](HWND dialog) {
        EXPECT_STREQ(ScriptFace('B'), "DV-Aelta");
        EXPECT_EQ(Selected(dialog, 247), "DV-Aelta");
        EXPECT_STREQ(EnglishFace('B'), "RM1-Velta");
        EXPECT_EQ(Selected(dialog, 249), "RM1-Velta");
        Click(dialog, 250);
    });
    // A key without a value names no face either.
    Write("DV", "");
    Write("DV1", "");
    SetAvailScripts("B", "DV-");
    RunDialog(true, [&](HWND dialog) {
        EXPECT_STREQ(ScriptFace('B'), "DV-Aelta");
        EXPECT_STREQ(EnglishFace('B'), "DV1-Velta");
        Click(dialog, 250);
    });
}

// No DV1- face installed: the English-mode default becomes the first entry
// of the English list.
TEST_F(DefaultFonts, EnglishDefaultFallsBackToTheFirstEnglishFace) {
    SetInstalled("DV1-Velta", false);
    Write("DV", "DV-Velta");
    SetAvailScripts("B", "DV-");
    RunDialog(true, [&](HWND dialog) {
        std::vector<std::string> english = ListItems(dialog, 249);
        ASSERT_FALSE(english.empty());
        for (const std::string& face : english)
            EXPECT_NE(face.substr(0, 4), "DV1-");
        EXPECT_EQ(EnglishFace('B'), english[0]);
        EXPECT_EQ(Selected(dialog, 249), english[0]);
        EXPECT_STREQ(ScriptFace('B'), "DV-Velta");
        Click(dialog, 250);
    });
}

// Roman lists its own faces and the English-mode companions of every script.
TEST_F(DefaultFonts, RomanListsItsFacesAndEveryCompanion) {
    SetAvailScripts("AB", "RM-DV-");
    State().activeScript = SCRIPT_ROMAN;
    RunDialog(true, [&](HWND dialog) {
        EXPECT_EQ(Selected(dialog, 245), "Roman");
        EXPECT_EQ(JoinSorted(ListItems(dialog, 247)), "DV1-Velta, RM-Velta, RM1-Velta, SD1-Velta");
        EXPECT_STREQ(ScriptFace('A'), "RM-Velta");
        // Picking Devanagari lists only its family.
        Pick(dialog, 245, "Devanagari");
        EXPECT_EQ(Join(ListItems(dialog, 247)), "DV-Aelta, DV-Velta");
        Click(dialog, 250);
    });
}

// Selections take effect in the tables at once; Cancel puts back what the
// settings file and the installed faces give, and writes nothing.
TEST_F(DefaultFonts, CancelRestoresTheTablesFromTheFile) {
    Write("DV", "DV-Velta");
    Write("DV1", "DV1-Velta");
    SetAvailScripts("B", "DV-");
    const std::string before = Keys();
    INT_PTR result = RunDialog(true, [&](HWND dialog) {
        Pick(dialog, 247, "DV-Aelta");
        Pick(dialog, 249, "RM1-Velta");
        EXPECT_STREQ(ScriptFace('B'), "DV-Aelta");
        EXPECT_STREQ(EnglishFace('B'), "RM1-Velta");
        Click(dialog, 250);
    });
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(ScriptFace('B'), "DV-Velta");
    EXPECT_STREQ(EnglishFace('B'), "DV1-Velta");
    EXPECT_EQ(Keys(), before);
    EXPECT_EQ(State().wordFocusRequest, 0);
}

// OK writes the prefix and prefix-1 keys of the available scripts that have
// a face, and asks Word to take the focus again.
TEST_F(DefaultFonts, OkWritesTheAvailableScriptsOnly) {
    Write("TM", "kept"); // Tamil is not available
    SetAvailScripts("ABC", "RM-DV-BN-");
    CopyText(State().scriptFontNames['R' - 64], NK_FONT_NAME_SIZE, "SD-Velta");
    INT_PTR result = RunDialog(true, [&](HWND dialog) {
        Pick(dialog, 247, "DV-Aelta");
        Pick(dialog, 249, "SD1-Velta");
        Click(dialog, 248);
    });
    EXPECT_EQ(result, 1);
    // Roman was never shown: its gap-filled face and NotFound English entry.
    // Bengali has no face, Sanskrit-DEV is not available.
    EXPECT_EQ(Keys(), "DV=DV-Aelta;DV1=SD1-Velta;RM=RM-Velta;RM1=NotFound;TM=kept;");
    EXPECT_EQ(State().wordFocusRequest, 1);
}

// The bilingual template has no English list: the family is the B faces and
// OK writes only the B keys, leaving the others as they were.
TEST_F(DefaultFonts, BilingualModeWritesOnlyTheBKeys) {
    State().dualFont = 1;
    Write("DV", "DV-Velta");
    SetAvailScripts("BR", "DV-SD-");
    INT_PTR result = RunDialog(false, [&](HWND dialog) {
        EXPECT_EQ(Join(ListItems(dialog, 247)), "DVB-TTVelta");
        EXPECT_EQ(Selected(dialog, 247), "DVB-TTVelta");
        EXPECT_EQ(GetDlgItem(dialog, 249), nullptr);
        Pick(dialog, 245, "Sanskrit-DEV");
        EXPECT_EQ(Join(ListItems(dialog, 247)), "SDB-TTVelta");
        Click(dialog, 248);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Keys(), "DV=DV-Velta;DVB=DVB-TTVelta;SDB=SDB-TTVelta;");
}

// A script without any face of its family is reported and taken out of the
// script list; its settings are not written.
TEST_F(DefaultFonts, ScriptWithoutFacesIsReportedAndRemoved) {
    struct Row {
        int dualFont;
        const char* text;
    };
    const Row rows[] = {{0, "No fonts available for Bengali"},
                        {1, "No bi-lingual fonts available for Bengali"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        State().dualFont = row.dualFont;
        SetAvailScripts("BC", "DV-BN-");
        State().activeScript = SCRIPT_DEVANAGARI;
        SeenBox box;
        HWND shown = nullptr;
        RunDialog(row.dualFont == 0, [&](HWND dialog) {
            shown = dialog;
            BoxWatcher watcher("TAV ERROR");
            Pick(dialog, 245, "Bengali");
            box = watcher.Result();
            EXPECT_EQ(Join(ListItems(dialog, 245)), "Devanagari");
            EXPECT_EQ(ListItems(dialog, 247).size(), 0u);
            EXPECT_EQ(ListItems(dialog, 249).size(), 0u);
            Click(dialog, 248);
        });
        EXPECT_TRUE(box.seen);
        EXPECT_EQ(box.text, row.text);
        EXPECT_TRUE(box.topmost) << "system-modal";
        EXPECT_TRUE(box.hasIcon);
        EXPECT_EQ(box.owner, shown) << "owned by the window with the focus";
        EXPECT_EQ(Read("BN"), "<missing>");
        EXPECT_EQ(Read("BNB"), "<missing>");
    }
}

// The close box and Esc end the dialog like Cancel.
TEST_F(DefaultFonts, CloseBoxAndEscapeEndTheDialogLikeCancel) {
    Write("DV", "DV-Velta");
    SetAvailScripts("B", "DV-");
    struct Row {
        const char* how;
        std::function<void(HWND)> close;
    };
    const Row rows[] = {{"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                        {"Esc", [](HWND d) {
                             HWND list = GetDlgItem(d, 247);
                             SetFocus(list);
                             PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
                         }}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        INT_PTR result = RunDialog(true, [&](HWND dialog) {
            Pick(dialog, 247, "DV-Aelta");
            row.close(dialog);
        });
        EXPECT_EQ(result, 1);
        EXPECT_STREQ(ScriptFace('B'), "DV-Velta");
    }
}

} // namespace
