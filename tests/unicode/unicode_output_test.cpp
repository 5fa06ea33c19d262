// Unicode output through the hook into a real Unicode edit control: Inscript
// keys of dictionary words (Hindi, Bengali, Tamil, Malayalam) handed to _MF,
// the posted messages dispatched to the control, and its text read back
// with WM_GETTEXT (wide) must be exactly the dictionary word. The words and
// their ISCII come from ICU at test time (unicode_words/typing_L.tsv).
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

enum { kMinimumWords = 100, kTextMax = 4096 };
const unsigned char kVkBack = VK_BACK;

struct KeyStroke {
    int vk = 0;
    bool shift = false;
};

struct Word {
    std::string iscii;
    std::u16string unicode;
};

std::string Hex(const std::u16string& text) {
    std::string out;
    char unit[8];
    for (char16_t c : text) {
        snprintf(unit, sizeof unit, "%s%04x", out.empty() ? "" : " ", (unsigned)c);
        out += unit;
    }
    return out;
}

std::vector<Word> ReadWords(const char* language) {
    std::vector<Word> words;
    const std::string path = ProgramFolder() + "unicode_words\\typing_" + language + ".tsv";
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return words;
    char line[1024];
    while (fgets(line, sizeof line, f)) {
        Word w;
        char* p = line;
        for (; p[0] && p[0] != '\t' && p[1]; p += 2)
            w.iscii.push_back((char)strtol(std::string(p, 2).c_str(), nullptr, 16));
        while (*p == '\t' || *p == ' ')
            ++p;
        while (p[0] && p[0] != '\n') {
            w.unicode.push_back((char16_t)strtol(std::string(p, 4).c_str(), nullptr, 16));
            p += 4;
            while (*p == ' ')
                ++p;
        }
        words.push_back(w);
    }
    fclose(f);
    return words;
}

class UnicodeOutput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"NkUnicodeFrame";
        RegisterClassW(&wc);
        frame = CreateWindowExW(0, L"NkUnicodeFrame", L"Unicode - Test Editor",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 600, 200, nullptr,
                                nullptr, wc.hInstance, nullptr);
        edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 580,
                               30, frame, nullptr, wc.hInstance, nullptr);
        manager = CreateManagerWindow();
        // The Inscript table: which key (and Shift) types each single code.
        const LayoutTable* table = _LKT(nullptr, KBD_INSCRIPT);
        for (int scan = 0; scan < LAYOUT_KEYS; ++scan) {
            const KeyEntry& k = table->keys[scan];
            const int vk = (int)MapVirtualKeyA((UINT)scan, 1);
            // Only keys the hook composes (Esc, scan code 1, has an entry too).
            if (!((vk >= '0' && vk <= 'Z') || vk >= VK_SCROLL)) continue;
            const unsigned char normal = (unsigned char)k.scriptNormal[0];
            const unsigned char shifted = (unsigned char)k.scriptShifted[0];
            if (normal && !k.scriptNormal[1] && !keys[normal].vk) keys[normal] = {vk, false};
            if (shifted && !k.scriptShifted[1] && !keys[shifted].vk) keys[shifted] = {vk, true};
        }
    }
    static void TearDownTestSuite() {
        DestroyWindow(manager);
        DestroyWindow(frame);
        Drain(nullptr);
    }
    void SetUp() override {
        ResetDriver(VK_CAPITAL, true);
        SharedState& s = State();
        // No adapter module at all: Unicode output must not need one.
        snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", ProgramFolder().c_str());
        s.adapterFileName[0] = 0;
        s.keyboardKind = KBD_INSCRIPT;
        s.layoutTable = (LayoutTable*)_LKT(nullptr, KBD_INSCRIPT);
        s.keyboardKind = KBD_INSCRIPT;
        ASSERT_EQ(SetUnicodeOutput(1), 1);
        SetForegroundWindow(frame);
        SetFocus(edit);
        s.lastFocusWindow = edit; // a control in a non-script font would turn script typing off
        Clear();
    }
    void TearDown() override {
        SetUnicodeOutput(0);
        Pump();
    }
    void Clear() {
        Pump();
        SetWindowTextW(edit, L"");
        SetUnicodeOutput(1); // which also forgets the word
    }
    // Deliver what the driver posted, as the application's loop would.
    void Pump() {
        MSG msg;
        for (int i = 0; i < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
            DispatchMessageW(&msg);
    }
    MSG Key(int vk, bool shift = false, bool ctrl = false) {
        BYTE state[256] = {};
        state[VK_CAPITAL] = 1;
        if (shift) state[VK_SHIFT] = 0x80;
        if (ctrl) state[VK_CONTROL] = 0x80;
        state[vk & 0xFF] |= 0x80;
        SetKeyboardState(state);
        State().keyHeld = 0; // the synthesised key-up is not run through the hook here
        MSG msg = Message(edit, WM_KEYDOWN, (WPARAM)vk, (MapVirtualKeyA(vk, 0) << 16) | 1);
        _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        if (msg.message == WM_KEYDOWN && vk == ' ')
            PostMessageW(edit, WM_CHAR, ' ', 1); // a key that passes: the application types it
        Pump();
        return msg;
    }
    // Types the codes of `iscii` with Inscript keys; false if a code has no key.
    bool TypeCodes(const std::string& iscii) {
        for (char c : iscii) {
            const KeyStroke& k = keys[(unsigned char)c];
            if (!k.vk) return false;
            Key(k.vk, k.shift);
        }
        return true;
    }
    std::u16string Text() {
        wchar_t text[kTextMax] = {};
        SendMessageW(edit, WM_GETTEXT, kTextMax, (LPARAM)text);
        return std::u16string(text, text + wcslen(text));
    }
    void Activate(int script) {
        ASSERT_EQ(_AS(script), 0) << "script " << (char)script;
        Pump();
    }
    // Every word of the language typed alone; returns how many were typed.
    int TypeLanguage(const char* language, int script) {
        Activate(script);
        int typed = 0, failed = 0;
        for (const Word& w : ReadWords(language)) {
            Clear();
            if (!TypeCodes(w.iscii)) continue; // a code without a single key
            ++typed;
            const std::u16string text = Text();
            if (text != w.unicode && ++failed <= 5)
                ADD_FAILURE() << language << " word " << typed << " (ISCII "
                              << ::testing::PrintToString(w.iscii) << ")\n  expected "
                              << Hex(w.unicode) << "\n  typed    " << Hex(text);
        }
        printf("%s: %d words typed, %d differ\n", language, typed, failed);
        return typed;
    }
    static HWND frame, edit, manager;
    static KeyStroke keys[256];
};
HWND UnicodeOutput::frame = nullptr;
HWND UnicodeOutput::edit = nullptr;
HWND UnicodeOutput::manager = nullptr;
KeyStroke UnicodeOutput::keys[256];

TEST_F(UnicodeOutput, HindiWords) {
    EXPECT_GE(TypeLanguage("hi", SCRIPT_DEVANAGARI), kMinimumWords);
}

TEST_F(UnicodeOutput, BengaliWords) {
    EXPECT_GE(TypeLanguage("bn", SCRIPT_BENGALI), kMinimumWords);
}

TEST_F(UnicodeOutput, TamilWords) {
    EXPECT_GE(TypeLanguage("ta", SCRIPT_TAMIL), kMinimumWords);
}

TEST_F(UnicodeOutput, MalayalamWords) {
    EXPECT_GE(TypeLanguage("ml", SCRIPT_MALAYALAM), kMinimumWords);
}

TEST_F(UnicodeOutput, OnlyWhatChangedIsErasedAndTyped) {
    Activate(SCRIPT_DEVANAGARI);
    Key('K'); // क
    Key('F'); // कि: the sign follows the consonant in Unicode
    EXPECT_EQ(Text(), u"\u0915\u093F");
    Key('D'); // किक् ... (halant on D) appended
    EXPECT_EQ(Text(), u"\u0915\u093F\u094D");
    // Backspace inside the word: the halant's code goes, one unit is erased.
    EXPECT_EQ(Key(VK_BACK).message, (UINT)WM_NULL);
    EXPECT_EQ(Text(), u"\u0915\u093F");
    EXPECT_EQ(State().wordIscii, std::string("\xB3\xDB"));
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_EQ(Text(), u"");
    MSG passed = Key(VK_BACK); // the word is empty: the key is the application's
    EXPECT_EQ(passed.message, (UINT)WM_KEYDOWN);
}

TEST_F(UnicodeOutput, ExplicitAndSoftHalant) {
    Activate(SCRIPT_DEVANAGARI);
    Key('K');
    Key('D');
    Key('D'); // halant halant: virama + ZWNJ
    Key('K');
    EXPECT_EQ(Text(), u"\u0915\u094D\u200C\u0915");
    Clear();
    Key('K');
    Key('D');
    Key(VK_OEM_6); // halant nukta: virama + ZWJ
    EXPECT_EQ(Text(), u"\u0915\u094D\u200D");
}

TEST_F(UnicodeOutput, TheFiftyFirstCodeIsDroppedWithTheWord) {
    Activate(SCRIPT_DEVANAGARI);
    for (int i = 0; i < 50; ++i)
        Key('K');
    EXPECT_EQ(Text(), std::u16string(50, u'\u0915'));
    EXPECT_EQ(Key('K').message, (UINT)WM_NULL); // dropped, and the word with it
    EXPECT_EQ(Text(), std::u16string(50, u'\u0915'));
    Key('F'); // a new word: nothing of the old one is erased
    EXPECT_EQ(Text(), std::u16string(50, u'\u0915') + u"\u093F");
}

TEST_F(UnicodeOutput, ScriptChangesInMidLine) {
    Activate(SCRIPT_DEVANAGARI);
    Key('K');
    Key('E'); // का
    Key(' ');
    ManagerMessages().clear();
    Key(VK_F4, true, true); // Ctrl+Shift+F4: Tamil, through the manager
    ASSERT_EQ(ManagerMessages().size(), 1u);
    Activate((int)ManagerMessages()[0].wParam); // what the manager does with it
    Key('K');
    Key('E'); // கா
    Key(' ');
    Key(VK_F9, true, true); // Malayalam
    Activate((int)ManagerMessages().back().wParam);
    Key('K');
    Key('E'); // കാ
    EXPECT_EQ(Text(), u"\u0915\u093E \u0B95\u0BBE \u0D15\u0D3E");
}

// Phonetic English: Roman letters through the transliteration rules, then the
// same conversion. Expected words as the keyboard's scheme spells them.
TEST_F(UnicodeOutput, PhoneticEnglishWords) {
    char layout[NK_LAYOUT_PATH_SIZE] = "PEKBD.BIN";
    ASSERT_NE(_LKT(layout, KBD_PHONETIC), nullptr);
    ASSERT_EQ(ascii2iscii_init(1), 3) << "EN2IN.RUL in the program folder";
    ASSERT_EQ(State().keyboardKind, KBD_PHONETIC);
    const struct {
        int script;
        const char* roman;
        const char16_t* text;
    } rows[] = {
        {SCRIPT_DEVANAGARI, "namaste", u"\u0928\u092E\u0938\u094D\u0924\u0947"},
        {SCRIPT_DEVANAGARI, "kamala", u"\u0915\u092E\u0932"},
        {SCRIPT_DEVANAGARI, "vidyaa", u"\u0935\u093F\u0926\u094D\u092F\u093E"},
        {SCRIPT_DEVANAGARI, "kii", u"\u0915\u0940"},
        {SCRIPT_TAMIL, "namaste", u"\u0BA8\u0BAE\u0BB8\u0BCD\u0BA4\u0BC7"},
        {SCRIPT_MALAYALAM, "kamala", u"\u0D15\u0D2E\u0D32"},
    };
    for (const auto& row : rows) {
        Activate(row.script);
        State().keyboardKind = KBD_PHONETIC;
        Clear();
        for (const char* c = row.roman; *c; ++c) {
            const bool upper = *c >= 'A' && *c <= 'Z';
            Key(upper ? *c : *c - 'a' + 'A', upper);
        }
        EXPECT_EQ(Hex(Text()), Hex(row.text)) << row.roman << " in script " << (char)row.script;
    }
    State().keyboardKind = KBD_INSCRIPT;
}

// A standard control in a font that is not a script font turns script typing
// off when keys first reach it, except a Unicode control under Unicode
// output, which takes Unicode text in any font.
TEST_F(UnicodeOutput, AUnicodeControlInAnyFontKeepsScriptTyping) {
    Activate(SCRIPT_DEVANAGARI);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma");
    SendMessageW(edit, WM_SETFONT, (WPARAM)font, 0);
    State().lastFocusWindow = nullptr; // the next key is the first into the control
    Key('K');
    EXPECT_EQ(Text(), u"\u0915");

    Clear();
    SetUnicodeOutput(0);
    State().lastFocusWindow = nullptr;
    EXPECT_EQ(Key('K').message, (UINT)WM_KEYDOWN) << "glyph output: the font rule holds";
    EXPECT_EQ(State().typingMode, MODE_ENGLISH);
    SendMessageW(edit, WM_SETFONT, 0, 0);
    DeleteObject(font);
    State().lastFocusWindow = edit;
}

TEST_F(UnicodeOutput, AnsiWindowsKeepGlyphsAndTheSettingOffChangesNothing) {
    EXPECT_TRUE(IsWindowUnicode(edit));
    SetUnicodeOutput(0);
    Activate(SCRIPT_DEVANAGARI); // DVTROP32.DLL of the program folder
    Key('K');
    const std::u16string text = Text();
    ASSERT_EQ(text.size(), 1u);
    EXPECT_LT(text[0], 0x100) << "a glyph code of the script font, not Unicode";
}

} // namespace
