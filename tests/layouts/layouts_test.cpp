// Layout exports on Wine: canonical paths and kinds, reading layout files by
// script, the failure messages, the typewriter converter binding and the
// switch key.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

// The program folder of these tests: a folder below the driver's own, which
// is the only place layout files are read from.
std::string Dir() {
    static const std::string dir = ProgramFolder() + "nkl\\";
    return dir;
}

// What layoutPath holds for a file of the program folder: the full path when
// it fits the field's 39 characters, else the bare name.
std::string Stored(const char* name) {
    const std::string full = Dir() + name;
    return full.size() < NK_LAYOUT_PATH_SIZE ? full : name;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return text;
}

// Closes every message box of the driver while it runs and records it.
struct Box {
    std::string caption, text;
    bool topmost, cancel;
    HWND owner;
};

class BoxCloser {
  public:
    BoxCloser() { thread = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~BoxCloser() {
        stop = 1;
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    std::vector<Box> Seen() {
        std::lock_guard<std::mutex> hold(lock);
        return boxes;
    }

  private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM param) {
        char cls[32] = "", text[512] = "";
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        if (_stricmp(cls, "Static") == 0 && text[0]) *(std::string*)param = text;
        return TRUE;
    }
    static DWORD WINAPI Run(void* param) {
        BoxCloser* self = (BoxCloser*)param;
        const char* captions[] = {"NELKOR - Cannot Access", "TAV"};
        while (!self->stop) {
            for (const char* caption : captions) {
                HWND box = FindWindowA("#32770", caption);
                if (!box) continue;
                Box seen = {caption, "", false, false, GetWindow(box, GW_OWNER)};
                EnumChildWindows(box, CollectText, (LPARAM)&seen.text);
                seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                seen.cancel = GetDlgItem(box, IDCANCEL) != nullptr;
                {
                    std::lock_guard<std::mutex> hold(self->lock);
                    self->boxes.push_back(seen);
                }
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && !self->stop)
                    Sleep(5);
            }
            Sleep(5);
        }
        return 0;
    }
    std::mutex lock;
    std::vector<Box> boxes;
    volatile LONG stop = 0;
    HANDLE thread;
};

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f != nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// A layout file: entries (code, block fill letter, block size); each block's
// slots hold the fill letter and 'n' (unshifted) or 's' (shifted).
std::vector<unsigned char> Layout(const std::vector<std::pair<int, std::pair<char, int>>>& e) {
    std::vector<unsigned char> f = {0, 0, (unsigned char)e.size(), 0};
    uint32_t offset = 4 + 8 * (uint32_t)e.size();
    for (const auto& entry : e) {
        const int size = entry.second.second;
        const unsigned char row[8] = {(unsigned char)entry.first,
                                      0,
                                      (unsigned char)offset,
                                      (unsigned char)(offset >> 8),
                                      0,
                                      0,
                                      (unsigned char)size,
                                      (unsigned char)(size >> 8)};
        f.insert(f.end(), row, row + 8);
        offset += (uint32_t)size;
    }
    for (const auto& entry : e) {
        for (int slot = 0; slot * 8 < entry.second.second; ++slot) {
            unsigned char text[8] = {(unsigned char)entry.second.first,
                                     (unsigned char)(slot < 54 ? 'n' : 's'),
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0};
            f.insert(f.end(), text, text + 8);
        }
    }
    return f;
}

class Layouts : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        window = CreateTestWindow("Untitled - Layout Test");
        CreateDirectoryA(Dir().c_str(), nullptr);
        for (const char* name : {"INSKBD.BIN", "PEKBD.BIN"})
            CopyFileA((ProgramFolder() + name).c_str(), (Dir() + name).c_str(), FALSE);
    }
    static void TearDownTestSuite() { DestroyWindow(window); }
    void SetUp() override {
        SetForegroundWindow(window);
        SetFocus(window);
        ResetDriver(VK_CAPITAL, false);
        snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "%s", Dir().c_str());
        State().activeScript = SCRIPT_DEVANAGARI;
    }
    void TearDown() override {
        State().keyboardKind = KBD_INSCRIPT;
        Drain(window);
    }
    LayoutTable* Load(const std::string& path, int kind) {
        snprintf(buffer, sizeof buffer, "%s", path.c_str());
        return _LKT(buffer, kind);
    }
    static HWND window;
    char buffer[MAX_PATH];
};
HWND Layouts::window = nullptr;

TEST_F(Layouts, CanonicalPathsAndKinds) {
    BoxCloser boxes;
    const LayoutTable* inscript = Load("inskbd.bin", 0);
    struct Row {
        const char* path;
        int kind;
        std::string layoutPath;
        int expectedKind;
        bool fileTable;
        int rulesPending;
    } rows[] = {
        {"c:\\x\\myinskbd.bin2", 0, Stored("INSKBD.BIN"), KBD_INSCRIPT, false, 0},
        {"pekbd.bin", 0, Stored("PEKBD.BIN"), KBD_PHONETIC, true, 1},
        {"d:\\ukkbd.bin", 0, "D:\\UKKBD.BIN", KBD_UK_INSCRIPT, false, 0},
        {"c:\\none\\other.bin", 0, "C:\\NONE\\OTHER.BIN", KBD_OTHER, false, 0}, // not read
        {"Inskbd.Bin", KBD_TYPEWRITER, Stored("INSKBD.BIN"), KBD_TYPEWRITER, true, 0},
    };
    for (const Row& r : rows) {
        State().rulesReloadPending = 1;
        const LayoutTable* table = Load(r.path, r.kind);
        EXPECT_EQ(State().layoutPath, r.layoutPath) << r.path;
        EXPECT_EQ(buffer, r.layoutPath) << r.path; // written back (or upper-cased)
        EXPECT_EQ(State().keyboardKind, r.expectedKind) << r.path;
        EXPECT_EQ(table == inscript, !r.fileTable) << r.path;
        EXPECT_EQ(State().layoutTable, table);
        EXPECT_EQ(State().rulesReloadPending, r.rulesPending) << r.path;
    }
    // Kind 162 with the Inscript file: the file's codes equal the built-in ones.
    const LayoutTable* loaded = Load("INSKBD.BIN", KBD_TYPEWRITER);
    for (int k = 0; k < LAYOUT_KEYS; ++k) {
        EXPECT_STREQ(loaded->keys[k].scriptNormal, inscript->keys[k].scriptNormal) << k;
        EXPECT_STREQ(loaded->keys[k].scriptShifted, inscript->keys[k].scriptShifted) << k;
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Layouts, TheSharedPathItselfAsTheBuffer) {
    snprintf(State().layoutPath, sizeof State().layoutPath, "%s", "pekbd.bin");
    _LKT(State().layoutPath, 0);
    EXPECT_EQ(State().layoutPath, Stored("PEKBD.BIN"));
    EXPECT_EQ(State().keyboardKind, KBD_PHONETIC);
    const LayoutTable* again = _LKT(State().layoutPath, KBD_PHONETIC); // as the hook does
    EXPECT_EQ(State().layoutPath, Stored("PEKBD.BIN"));
    EXPECT_STREQ(again->keys[16].scriptShifted, "Q");
}

TEST_F(Layouts, LongProgramDirectoryKeepsTheFileByName) {
    BoxCloser boxes;
    // A program folder whose path alone leaves no room for a file name.
    const std::string longDir = Dir() + "a program folder with a long name\\";
    CreateDirectoryA(longDir.c_str(), nullptr);
    for (const char* name : {"PEKBD.BIN", "UKKBD.BIN"})
        ASSERT_TRUE(CopyFileA((ProgramFolder() + name).c_str(), (longDir + name).c_str(), FALSE));
    snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "%s", longDir.c_str());
    ASSERT_GT(strlen(State().moduleDirectory) + strlen("PEKBD.BIN"), 39u);
    Load("PEKBD.BIN", 0);
    EXPECT_STREQ(State().layoutPath, "PEKBD.BIN");
    EXPECT_EQ(State().keyboardKind, KBD_PHONETIC);
    const LayoutTable* again = _LKT(State().layoutPath, KBD_PHONETIC);
    EXPECT_EQ(State().keyboardKind, KBD_PHONETIC);
    EXPECT_STREQ(again->keys[30].scriptNormal, "a");
    // Any layout file of the program directory, by its full path.
    Load(longDir + "ukkbd.bin", KBD_TYPEWRITER);
    EXPECT_STREQ(State().layoutPath, "UKKBD.BIN");
    EXPECT_STREQ(_LKT(State().layoutPath, KBD_TYPEWRITER)->keys[37].scriptNormal, "\xB3");
    EXPECT_EQ(State().keyboardKind, KBD_TYPEWRITER);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Layouts, BlocksByScriptShortBlocksAndEnglishFields) {
    BoxCloser boxes;
    const std::string two = Dir() + "TWO.BIN";
    const std::string other = Dir() + "CD.BIN";
    const std::string half = Dir() + "HALF.BIN";
    WriteFile(two, Layout({{'B', {'b', 864}}, {'C', {'c', 864}}}));
    WriteFile(other, Layout({{'C', {'c', 864}}, {'D', {'d', 864}}}));
    WriteFile(half, Layout({{'B', {'h', 432}}}));

    State().activeScript = SCRIPT_SANSKRIT; // types with the Devanagari block
    LayoutTable* table = Load(two, KBD_TYPEWRITER);
    EXPECT_STREQ(table->keys[5].scriptNormal, "bn");
    State().activeScript = SCRIPT_BENGALI;
    EXPECT_STREQ(Load(two, KBD_TYPEWRITER)->keys[5].scriptShifted, "cs");
    State().activeScript = SCRIPT_DEVANAGARI; // no entry: the last one
    EXPECT_STREQ(Load(other, KBD_TYPEWRITER)->keys[5].scriptNormal, "dn");

    strcpy(table->keys[16].englishNormal, "#"); // refreshed from the keyboard
    Load(half, KBD_TYPEWRITER);
    for (int k = 0; k < LAYOUT_KEYS; ++k) {
        EXPECT_STREQ(table->keys[k].scriptNormal, "hn") << k;
        EXPECT_STREQ(table->keys[k].scriptShifted, "ds") << k; // kept from the last load
    }
    EXPECT_STREQ(table->keys[16].englishNormal, "q");
    EXPECT_STREQ(table->keys[16].englishShifted, "Q");
    EXPECT_STREQ(table->keys[2].englishShifted, "!");
    EXPECT_TRUE(boxes.Seen().empty());
    DeleteFileA(two.c_str());
    DeleteFileA(other.c_str());
    DeleteFileA(half.c_str());
}

TEST_F(Layouts, MissingFileIsReportedAndTheTableKept) {
    BoxCloser boxes;
    const LayoutTable* before = Load("INSKBD.BIN", KBD_TYPEWRITER);
    LayoutTable copy = *before;
    const LayoutTable* after = Load(Dir() + "missing.typ", KBD_TYPEWRITER);
    EXPECT_EQ(after, before);
    EXPECT_EQ(memcmp(&copy, after, sizeof copy), 0);
    std::vector<Box> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "NELKOR - Cannot Access");
    EXPECT_EQ(seen[0].text, Upper(Dir() + "missing.typ"));
    EXPECT_TRUE(seen[0].topmost); // system-modal
    EXPECT_EQ(seen[0].owner, window);
}

TEST_F(Layouts, TypewriterConverterBinding) {
    BoxCloser boxes;
    const std::string mods = ProgramFolder() + "testmods\\";
    EXPECT_EQ(SetConverter1(""), 1);
    EXPECT_EQ(State().converterModule, nullptr);
    EXPECT_EQ(SetConverter1((mods + "DVAKBD32.DLL").c_str()), 1);
    EXPECT_NE(State().converterModule, nullptr);
    EXPECT_NE(State().converterEntry, nullptr);
    EXPECT_EQ(SetConverter1("C:\\NKL\\NOSUCH32.DLL"), 0); // silently
    EXPECT_EQ(State().converterModule, nullptr);
    EXPECT_EQ(State().converterEntry, nullptr);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_EQ(SetConverter1((mods + "DVTROP32.DLL").c_str()), 0); // no make_iscii
    EXPECT_EQ(State().converterModule, nullptr);
    EXPECT_EQ(State().converterEntry, nullptr);
    EXPECT_STREQ(State().converterFileName, (mods + "DVTROP32.DLL").c_str());
    std::vector<Box> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "TAV");
    EXPECT_EQ(seen[0].text, "Unable to Get Address");
    EXPECT_TRUE(seen[0].cancel);
    EXPECT_EQ(SetConverter1(""), 1);
}

// The hook reads the layout at every key: a file it cannot read is reported
// once per name, not at every key (here in the manager's process).
TEST_F(Layouts, AnUnreadableFileIsReportedOncePerName) {
    BoxCloser boxes;
    HWND manager = CreateManagerWindow();
    const std::string empty = Dir() + "empty\\";
    CreateDirectoryA(empty.c_str(), nullptr);
    snprintf(State().moduleDirectory, sizeof State().moduleDirectory, "%s", empty.c_str());
    State().keyboardKind = KBD_PHONETIC;
    State().typingMode = MODE_SCRIPT;
    SetKey(VK_CAPITAL, false, true);
    for (const char* name : {"PEKBD.BIN", "OTHER.TYP"}) {
        snprintf(State().layoutPath, sizeof State().layoutPath, "%s", name);
        State().keyboardKind = name[0] == 'P' ? KBD_PHONETIC : KBD_TYPEWRITER;
        for (int key = 0; key < 20; ++key) {
            MSG msg = Message(window, WM_KEYDOWN, 'K');
            State().keyHeld = 0;
            _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        }
    }
    Drain(window);
    std::vector<Box> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, empty + "PEKBD.BIN");
    EXPECT_EQ(seen[1].text, empty + "OTHER.TYP");
    DestroyWindow(manager);
}

TEST_F(Layouts, SwitchKeyChoice) {
    State().switchKey = 0;
    SetSwitchKey(VK_SCROLL);
    EXPECT_EQ(GetSwitchKey(), VK_SCROLL);
    EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 1);
    SetSwitchKey(VK_SCROLL); // the current key again: toggled off
    EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 0);
    SetSwitchKey(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 0);
}

} // namespace
