// The keyboard overlay of davrin.exe under Wine, driven from outside as a
// user drives it: opened by its menu command, keys clicked with the mouse,
// the switch key and Shift reported as the driver reports them, the texts of
// its controls read back. The real script modules and fonts are used: the
// fonts go into the prefix's font folder for this test only.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "manager/resources/resource_ids.h"
#include "tests/harness/wine_test_util.h"
#include "tests/manager/manager_probe.h"
#include "tests/manager/manager_session.h"

using namespace nkmgr;
using nktest::State;

namespace {

const DWORD kWaitMs = 10000;
const char kTitlePrefix[] = "TAV KEYBOARD OVERLAY ";

std::string FontsFolder() {
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\Fonts\\";
}

// The product fonts built beside the tests, copied into the prefix while
// this test runs (other tests install them privately and must not find
// them installed for good).
std::vector<std::string>& InstalledFonts() {
    static std::vector<std::string> fonts;
    return fonts;
}

void InstallFonts() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((BinDir() + "*.ttf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    CreateDirectoryA(FontsFolder().c_str(), nullptr);
    do {
        const std::string target = FontsFolder() + found.cFileName;
        if (CopyFileA((BinDir() + found.cFileName).c_str(), target.c_str(), TRUE))
            InstalledFonts().push_back(target);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveFonts() {
    for (const std::string& font : InstalledFonts())
        DeleteFileA(font.c_str());
    InstalledFonts().clear();
}

// A font file hidden from the manager started next: moved out of the font
// folder, where every file counts whatever its name.
struct HiddenFont {
    std::string path;
    std::string away;
};
HiddenFont Hide(const char* face) {
    const std::string path = FontsFolder() + face + ".ttf";
    const std::string away = MakeTempDir() + face + ".ttf";
    MoveFileA(path.c_str(), away.c_str());
    return {path, away};
}
void Unhide(const HiddenFont& font) {
    MoveFileA(font.away.c_str(), font.path.c_str());
}

// The glyph codes of the first syllable of ISCII text, straight from the
// script's adapter module: what a key of the overlay must show.
std::string AdapterGlyphs(const char* module, const char* entryName, const std::string& iscii) {
    HMODULE adapter = LoadLibraryA((BinDir() + module).c_str());
    if (!adapter) return "<no module>";
    auto entry = (AdapterEntryFn)(void*)GetProcAddress(adapter, entryName);
    std::string glyphs = "<no entry>";
    if (entry) {
        unsigned char pairs[NK_ADAPTER_OUT_MAX] = {0};
        int32_t consumed = 0, length = 0;
        entry((const unsigned char*)iscii.c_str(), pairs, &consumed, &length, 0);
        glyphs.clear();
        for (size_t at = 0; at + 1 < sizeof pairs && pairs[at]; at += 2)
            glyphs += (char)pairs[at];
    }
    FreeLibrary(adapter);
    return glyphs;
}

std::string ControlText(HWND control) {
    char text[256] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_BLOCK, 5000, &ignored);
    return text;
}

bool Checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_BLOCK, 5000, &state);
    return state == BST_CHECKED;
}

// Let the manager's thread finish what is queued for the overlay: a sent
// message is answered only once the thread reads messages again.
void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    for (int i = 0; i < 3; ++i) {
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
        Sleep(20);
    }
}

// The overlay of a process: its title begins as the driver expects.
struct OverlaySearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindOverlayWindow(HWND window, LPARAM lParam) {
    OverlaySearch* search = (OverlaySearch*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (pid != search->pid || strncmp(title, kTitlePrefix, strlen(kTitlePrefix)) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

struct OverlayRow {
    const char* name;
    const char* script;  // DefaultScript
    int keyboard;        // command chosen after start-up (0: Inscript)
    const char* title;   // after "TAV KEYBOARD OVERLAY "
    const char* module;  // the script's adapter module
    const char* entry;   // its conversion entry
    int key;             // a character key's id
    const char* iscii;   // what that key types
    const char* shifted; // what it types with Shift
    const char* english; // what it types in English typing
};

// Inscript keys from the built-in table, Phonetic English keys through the
// rules, typewriter keys from their layout file.
const OverlayRow kRows[] = {
    {"DevanagariInscript", "DV", 0, "[INSCRIPT] - [DEVANAGARI]", "DVTROP32.DLL", "iscii2devglf",
     IDC_KEY_BASE + 37, "\xB3", "\xB4", "k"},
    {"TamilInscript", "TM", 0, "[INSCRIPT] - [TAMIL]", "TMTROP32.DLL", "iscii2tamilglf",
     IDC_KEY_BASE + 37, "\xB3", "\xB4", "k"},
    {"GujaratiPhonetic", "GJ", IDM_KBD_PHONETIC, "[Phonetic-English] - [GUJARATI]", "GJTROP32.DLL",
     "iscii2gjglf", IDC_KEY_BASE + 37, "\xB3", "\xB4", "k"}, // k, kh
    {"DevanagariRemington", "DV", IDM_TYPEWRITER_FIRST, "[DVRKBD32.TYP] - [DEVANAGARI]",
     "DVTROP32.DLL", "iscii2devglf", IDC_KEY_BASE + 18, "\xCC", "\xCC\xE8", "e"},
};

class Overlay : public ::testing::TestWithParam<OverlayRow> {
  protected:
    static void SetUpTestSuite() { InstallFonts(); }
    static void TearDownTestSuite() { RemoveFonts(); }

    void SetUp() override {
        if (!RulesAvailable()) GTEST_SKIP() << "start-up needs bin/EN2IN.RUL";
        if (GetFileAttributesA((BinDir() + "DV-Velta.ttf").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no product fonts beside the tests";
        State().managerWindow = nullptr;
        State().typingMode = MODE_ENGLISH;
        State().hookEnabled = 1;
        State().dualFont = 0;
        dir = MakeProgramDir({});
        for (const char* module :
             {"DVTROP32.DLL", "TMTROP32.DLL", "GJTROP32.DLL", "DVRKBD32.DLL", "DVRKBD32.typ"})
            CopyFileA((BinDir() + module).c_str(), (dir.path + module).c_str(), FALSE);
    }
    void TearDown() override {
        Kill(manager);
        State().managerWindow = nullptr;
    }
    bool StartWith(const char* script) {
        WriteSettings(dir.path + "TAVWIN.INI",
                      {{"DefaultScript", script}, {"InscriptSwitch", "20"}});
        return Start(dir, manager);
    }
    // Command 193 as the menu sends it; the overlay is modal, so it is posted.
    HWND OpenOverlay() {
        PostMessageA(manager.window, WM_COMMAND, IDM_OVERLAY, 0);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kWaitMs) {
            HWND found = FindOverlay();
            if (found && IsWindowVisible(found)) {
                Settle(found);
                return found;
            }
            if (FindProcessWindow(manager.process.dwProcessId, "#32770", "TAV")) return nullptr;
            Sleep(10);
        }
        return nullptr;
    }
    HWND FindOverlay() {
        OverlaySearch search{manager.process.dwProcessId, nullptr};
        EnumWindows(FindOverlayWindow, (LPARAM)&search);
        return search.found;
    }
    // A left click in the middle of a control, through the input queue.
    void Click(HWND control) {
        RECT rect;
        GetWindowRect(control, &rect);
        SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, inputs, sizeof(INPUT));
    }
    // The edit box's text once the clicked key has gone through the hook.
    std::string TypedText(HWND dialog, size_t length) {
        HWND edit = GetDlgItem(dialog, IDC_OVERLAY_EDIT);
        const DWORD start = GetTickCount();
        std::string text;
        while (GetTickCount() - start < kWaitMs) {
            Settle(dialog);
            text = ControlText(edit);
            if (text.size() >= length) break;
        }
        return text;
    }

    ProgramDir dir;
    Manager manager;
};

TEST_P(Overlay, ShowsTheLayoutTypesClickedKeysAndFollowsSwitchAndShift) {
    const OverlayRow& row = GetParam();
    ASSERT_TRUE(StartWith(row.script));
    if (row.keyboard) Command(manager, row.keyboard);
    HWND dialog = OpenOverlay();
    ASSERT_NE(dialog, nullptr) << TakeMessageBox(manager);
    HWND key = GetDlgItem(dialog, row.key);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ControlText(dialog), std::string(kTitlePrefix) + row.title);

    // The manager started in English typing: blank captions, "Caps" off.
    EXPECT_FALSE(Checked(dialog, IDC_OVERLAY_CAPS));
    EXPECT_EQ(ControlText(key), "   ");

    // In English typing a click types the English letter.
    Click(key);
    EXPECT_EQ(TypedText(dialog, 1), row.english);

    // The switch key as the driver reports it (keys injected into a second
    // manager under Wine do not all arrive): the captions turn to script and
    // the trial text starts afresh.
    const std::string normal = AdapterGlyphs(row.module, row.entry, row.iscii);
    const std::string shifted = AdapterGlyphs(row.module, row.entry, row.shifted);
    ASSERT_FALSE(normal.empty());
    PostMessageA(dialog, WM_COMMAND, IDC_KEY_CAPS, 1);
    Settle(dialog);
    EXPECT_TRUE(Checked(dialog, IDC_OVERLAY_CAPS));
    EXPECT_EQ(ControlText(key), "  " + normal);
    EXPECT_EQ(State().typingMode, MODE_SCRIPT);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_OVERLAY_EDIT)), "");

    // Shift held and let go, as the driver reports them.
    PostMessageA(dialog, WM_COMMAND, IDC_KEY_LSHIFT, 1);
    Settle(dialog);
    EXPECT_TRUE(Checked(dialog, IDC_OVERLAY_SHIFT));
    EXPECT_EQ(ControlText(key), "  " + shifted);
    PostMessageA(dialog, WM_COMMAND, IDC_KEY_LSHIFT, 0);
    Settle(dialog);
    EXPECT_FALSE(Checked(dialog, IDC_OVERLAY_SHIFT));
    EXPECT_EQ(ControlText(key), "  " + normal);

    // A click types the key's script into the edit box through the hook.
    Click(key);
    EXPECT_EQ(TypedText(dialog, normal.size()), normal);

    // Switched back: English captions and English typing.
    PostMessageA(dialog, WM_COMMAND, IDC_KEY_CAPS, 1);
    Settle(dialog);
    EXPECT_FALSE(Checked(dialog, IDC_OVERLAY_CAPS));
    EXPECT_EQ(ControlText(key), "   ");
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_OVERLAY_EDIT)), "");

    // Minimised, the manager's window hides; closed, it is back, minimised.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Settle(dialog);
    EXPECT_FALSE(IsWindowVisible(manager.window));
    PostMessageA(dialog, WM_COMMAND, IDM_EXIT, 0);
    Settle(manager.window);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowVisible(manager.window));
    EXPECT_TRUE(IsIconic(manager.window));
}

INSTANTIATE_TEST_SUITE_P(Layouts, Overlay, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Missing faces: the message of the current mode, silence for the other
// mode, and the "TT" face standing in for a missing one.
struct MissingRow {
    const char* name;
    std::vector<const char*> hidden;
    bool opens;
    const char* message;
};

const MissingRow kMissing[] = {
    {"CurrentModeMissing",
     {"GJ1-Velta", "GJ1-TTVelta"},
     false,
     "Font [GJ1-Velta] or [GJ1-TTVelta] not available.\nInstall one of above font and then try."},
    {"OtherModeMissing", {"GJ-Velta", "GJ-TTVelta"}, false, ""},
    {"TTFaceStandsIn", {"GJ1-Velta"}, true, ""},
};

class OverlayFonts : public Overlay {};

TEST_F(OverlayFonts, MissingFacesAreReportedOrReplaced) {
    for (const MissingRow& row : kMissing) {
        SCOPED_TRACE(row.name);
        std::vector<HiddenFont> hidden;
        for (const char* face : row.hidden)
            hidden.push_back(Hide(face));
        ASSERT_TRUE(StartWith("GJ"));
        PostMessageA(manager.window, WM_COMMAND, IDM_OVERLAY, 0);
        Settle(manager.window);
        if (row.message[0])
            EXPECT_EQ(TakeMessageBox(manager), row.message);
        else
            EXPECT_EQ(FindProcessWindow(manager.process.dwProcessId, "#32770", "TAV"), nullptr);
        HWND dialog = FindOverlay();
        EXPECT_EQ(dialog != nullptr, row.opens);
        if (dialog) {
            // The "TT" face is also what the switch to English mode needs.
            PostMessageA(dialog, WM_COMMAND, IDM_EXIT, 0);
            Settle(manager.window);
        }
        Kill(manager);
        for (const HiddenFont& font : hidden)
            Unhide(font);
    }
}

// ---------------------------------------------------------------------------
// Printing the chart to a PostScript file through Wine's PostScript driver:
// the printer "Chart to file" (add_file_printer.exe) asks for the file name.

// The text a PostScript file shows, from the glyph names Wine's driver
// writes ("/T glyphshow"); unknown names read as "?".
std::string ShownText(const std::string& postscript) {
    static const struct {
        const char* name;
        char character;
    } kNames[] = {{"space", ' '},  {"uni00A0", ' '},     {"uni0020", ' '},
                  {"hyphen", '-'}, {"bracketleft", '['}, {"bracketright", ']'}};
    std::string text;
    const std::string show = " glyphshow";
    for (size_t at = postscript.find(show); at != std::string::npos;
         at = postscript.find(show, at + 1)) {
        const size_t slash = postscript.rfind('/', at);
        if (slash == std::string::npos) break;
        const std::string name = postscript.substr(slash + 1, at - slash - 1);
        char character = name.size() == 1 ? name[0] : '?';
        for (const auto& known : kNames)
            if (name == known.name) character = known.character;
        text += character;
    }
    return text;
}

class OverlayPrint : public Overlay {
  protected:
    static void SetUpTestSuite() {
        InstallFonts();
        printerAdded = RunProgram("\"" + BinDir() + "add_file_printer.exe\"") == 0;
    }
    static void TearDownTestSuite() {
        RunProgram("\"" + BinDir() + "add_file_printer.exe\" /remove");
        RemoveFonts();
    }
    void SetUp() override {
        Overlay::SetUp();
        if (IsSkipped()) return;
        if (!printerAdded) GTEST_SKIP() << "Wine's PostScript driver could not be set up";
        ASSERT_TRUE(StartWith("DV"));
        dialog = OpenOverlay();
        ASSERT_NE(dialog, nullptr);
        output = dir.path + "chart.ps";
    }
    HWND WaitForDialog(const char* title, DWORD ms = kWaitMs) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            HWND found = FindProcessWindow(manager.process.dwProcessId, "#32770", title);
            if (found && IsWindowVisible(found)) return found;
            Sleep(10);
        }
        return nullptr;
    }
    bool WaitGone(const char* title) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kWaitMs) {
            if (!FindProcessWindow(manager.process.dwProcessId, "#32770", title)) return true;
            Sleep(10);
        }
        return false;
    }
    // "&Print", then the print setup dialog answered with button.
    void Print(int setupButton) {
        PostMessageA(dialog, WM_COMMAND, IDM_OVERLAY_PRINT, 0);
        HWND setup = WaitForDialog("Print Setup");
        ASSERT_NE(setup, nullptr);
        PostMessageA(setup, WM_COMMAND, setupButton, 0);
        ASSERT_TRUE(WaitGone("Print Setup"));
    }
    // Wine's "Print to File" question, answered with a file or cancelled.
    void AnswerFileName(const std::string& file) {
        HWND ask = WaitForDialog("Print to File");
        ASSERT_NE(ask, nullptr);
        if (!file.empty()) {
            HWND edit = FindWindowExA(ask, nullptr, "Edit", nullptr);
            ASSERT_NE(edit, nullptr);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)file.c_str(), SMTO_BLOCK, 5000,
                                &ignored);
        }
        PostMessageA(ask, WM_COMMAND, file.empty() ? IDCANCEL : IDOK, 0);
        ASSERT_TRUE(WaitGone("Print to File"));
    }
    // The job is over once the abort dialog has come and gone and the
    // overlay answers again.
    void WaitForJob() {
        EXPECT_TRUE(WaitGone("TAV"));
        Settle(dialog);
        EXPECT_TRUE(IsWindowEnabled(dialog));
    }
    bool NoDialogLeft() {
        for (const char* title : {"TAV", "Print Setup", "Print to File"})
            if (FindProcessWindow(manager.process.dwProcessId, "#32770", title)) return false;
        return true;
    }

    static bool printerAdded;
    HWND dialog = nullptr;
    std::string output;
};
bool OverlayPrint::printerAdded = false;

// The window's picture as the screen shows it, as a 24-bit BMP file.
void SaveWindowPicture(HWND window, const std::string& path) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + stride * height;
    std::string data((const char*)&file, sizeof file);
    data.append((const char*)&info.bmiHeader, sizeof info.bmiHeader);
    data.append((const char*)bits, stride * height);
    WriteFileText(path, data);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(OverlayPrint, PrintsTheChartToAPostScriptFile) {
    // Script captions, and two clicked keys that make one syllable: the
    // word goes on from one click to the next.
    PostMessageA(dialog, WM_COMMAND, IDC_KEY_CAPS, 1);
    Settle(dialog);
    Click(GetDlgItem(dialog, IDC_KEY_BASE + 37)); // k: KA
    // The second click only once the first is typed: a click that comes
    // while the first is still on its way can be lost on a busy machine.
    EXPECT_EQ(TypedText(dialog, 1), AdapterGlyphs("DVTROP32.DLL", "iscii2devglf", "\xB3"));
    Click(GetDlgItem(dialog, IDC_KEY_BASE + 33)); // f: the vowel sign I
    const std::string syllable = AdapterGlyphs("DVTROP32.DLL", "iscii2devglf", "\xB3\xDB");
    EXPECT_EQ(TypedText(dialog, syllable.size()), syllable);
    SaveWindowPicture(dialog, BinDir() + "overlay_screen.bmp"); // for scripts/overlay_pictures.sh

    Print(IDOK);
    AnswerFileName(output);
    WaitForJob();
    const std::string postscript = ReadFileText(output);
    ASSERT_EQ(postscript.compare(0, 4, "%!PS"), 0) << "no PostScript in " << output;
    EXPECT_NE(postscript.find("%%Title: KBD"), std::string::npos);
    EXPECT_NE(postscript.find("%%EOF"), std::string::npos);
    const std::string shown = ShownText(postscript);
    EXPECT_NE(shown.find("TAV KEYBOARD OVERLAY"), std::string::npos) << shown;
    // The subtitle (its blanks are not drawn as glyphs).
    EXPECT_NE(shown.find("[INSCRIPT]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[DEVANAGARI]"), std::string::npos) << shown;
    // The keys' script texts are drawn in the script font, which goes along.
    EXPECT_NE(postscript.find("DV-Velta"), std::string::npos);
    EXPECT_TRUE(NoDialogLeft());
    // The chart of the last run, for scripts/print_chart.sh.
    WriteFileText(BinDir() + "overlay_chart.ps", postscript);
}

// Cancelled at each of its three steps, a print leaves no dialog and no
// file behind, and the next print works.
TEST_F(OverlayPrint, CancelAtEveryStepStopsTheJobAndTheNextPrintWorks) {
    Print(IDCANCEL);
    Settle(dialog);
    EXPECT_EQ(FindProcessWindow(manager.process.dwProcessId, "#32770", "Print to File"), nullptr);

    Print(IDOK);
    AnswerFileName(""); // the document cannot start
    Settle(dialog);
    EXPECT_EQ(FindProcessWindow(manager.process.dwProcessId, "#32770", "TAV"), nullptr);
    EXPECT_TRUE(NoDialogLeft());

    HMODULE probe = LoadLibraryA((BinDir() + "manager_probe.dll").c_str());
    ASSERT_NE(probe, nullptr);
    auto cancel = (HOOKPROC)(void*)GetProcAddress(probe, "ProbeCancelPrinting");
    auto record = (ProbeRecord * (*)(void))(void*)GetProcAddress(probe, "ProbeAnswer");
    record()->answer = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, cancel, probe, manager.process.dwThreadId);
    ASSERT_NE(hook, nullptr);
    const std::string cancelled = dir.path + "cancelled.ps";
    Print(IDOK);
    AnswerFileName(cancelled);
    WaitForJob();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(record()->answer, 1); // "Cancel" was pressed once
    EXPECT_EQ(ReadFileText(cancelled).find("%%EOF"), std::string::npos);
    EXPECT_TRUE(NoDialogLeft());

    Print(IDOK);
    AnswerFileName(output);
    WaitForJob();
    EXPECT_NE(ShownText(ReadFileText(output)).find("TAV KEYBOARD OVERLAY"), std::string::npos);
}

} // namespace
