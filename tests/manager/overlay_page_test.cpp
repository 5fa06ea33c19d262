// The overlay's chart in the test's own process: the page drawn on a
// metafile at the scale of a 300-pixels-per-inch printer and compared with
// the chart's geometry, and printing through Wine's PostScript driver on
// every path (done, setup cancelled, no file given, cancelled while
// printing) leaving no pen, font, printer device context or dialog behind.
// The overlay's code is built into this test with gdi_seam.h forced in.
#include <gtest/gtest.h>

#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "manager/app/manager.h"
#include "manager/overlay/overlay.h"
#include "tests/harness/wine_test_util.h"
#include "tests/manager/manager_probe.h"
#include "tests/manager/manager_session.h"

ManagerState mgr;

namespace {

const double kScale = 3.4375; // 1.1 x 300 / 96

// What the metafile holds, record by record.
struct Text {
    POINT at;
    std::string text;
};
struct PageRecords {
    std::vector<RECT> roundRects;
    std::vector<Text> texts;
    std::vector<POINT> path; // move-to points and line-to points in order
    std::vector<RECT> fills;
    std::vector<int> penWidths;
};

RECT Rect(const RECTL& r) {
    return {r.left, r.top, r.right, r.bottom};
}

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    PageRecords& page = *(PageRecords*)data;
    switch (record->iType) {
    case EMR_ROUNDRECT:
        page.roundRects.push_back(Rect(((const EMRROUNDRECT*)record)->rclBox));
        break;
    case EMR_EXTTEXTOUTW: {
        const EMREXTTEXTOUTW* out = (const EMREXTTEXTOUTW*)record;
        const WCHAR* text = (const WCHAR*)((const BYTE*)record + out->emrtext.offString);
        std::string narrow;
        for (DWORD i = 0; i < out->emrtext.nChars; ++i)
            narrow += (char)text[i];
        page.texts.push_back({{out->emrtext.ptlReference.x, out->emrtext.ptlReference.y}, narrow});
        break;
    }
    case EMR_EXTTEXTOUTA: {
        const EMREXTTEXTOUTA* out = (const EMREXTTEXTOUTA*)record;
        const char* text = (const char*)record + out->emrtext.offString;
        page.texts.push_back({{out->emrtext.ptlReference.x, out->emrtext.ptlReference.y},
                              std::string(text, out->emrtext.nChars)});
        break;
    }
    case EMR_MOVETOEX:
    case EMR_LINETO:
        page.path.push_back({((const EMRLINETO*)record)->ptl.x, ((const EMRLINETO*)record)->ptl.y});
        break;
    case EMR_BITBLT: {
        const EMRBITBLT* blt = (const EMRBITBLT*)record;
        page.fills.push_back(
            {blt->xDest, blt->yDest, blt->xDest + blt->cxDest, blt->yDest + blt->cyDest});
        break;
    }
    case EMR_FILLRGN: page.fills.push_back(Rect(((const EMRFILLRGN*)record)->rclBounds)); break;
    case EMR_CREATEPEN:
        page.penWidths.push_back(((const EMRCREATEPEN*)record)->lopn.lopnWidth.x);
        break;
    default: break;
    }
    return 1;
}

int Scaled(double value) {
    return (int)value;
}

// A button's rectangle on the page: its screen rectangle moved 4 right and
// 40 down, in the overlay's client coordinates, times the scale.
RECT PageRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    OffsetRect(&rect, 4, 40);
    MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
    return {Scaled(rect.left * kScale), Scaled(rect.top * kScale), Scaled(rect.right * kScale),
            Scaled(rect.bottom * kScale)};
}

// A metafile keeps a rounded rectangle's box inclusive of its right and
// bottom edges.
bool HasRoundRect(const PageRecords& page, const RECT& r) {
    const RECT inclusive{r.left, r.top, r.right - 1, r.bottom - 1};
    for (const RECT& box : page.roundRects)
        if (EqualRect(&box, &inclusive)) return true;
    return false;
}

bool HasTextAt(const PageRecords& page, const std::string& text, int x, int y) {
    for (const Text& t : page.texts)
        if (t.text == text && t.at.x == x && t.at.y == y) return true;
    return false;
}

const Text* FindText(const PageRecords& page, const std::string& text) {
    for (const Text& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

class OverlayPage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string fontFile = nkmgr::BinDir() + "DV-Velta.ttf";
        fontAdded = AddFontResourceExA(fontFile.c_str(), FR_PRIVATE, nullptr) > 0;
        printerAdded = nkmgr::RunProgram("\"" + nkmgr::BinDir() + "add_file_printer.exe\"") == 0;
    }
    static void TearDownTestSuite() {
        nkmgr::RunProgram("\"" + nkmgr::BinDir() + "add_file_printer.exe\" /remove");
        RemoveFontResourceExA((nkmgr::BinDir() + "DV-Velta.ttf").c_str(), FR_PRIVATE, nullptr);
    }
    void SetUp() override {
        if (!fontAdded) GTEST_SKIP() << "no DV-Velta.ttf beside the tests";
        // The manager's resources, its Devanagari Inscript choice, and the
        // real Devanagari module bound in this process for the key texts.
        mgr.instance = LoadLibraryExA((nkmgr::BinDir() + "davrin.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(mgr.instance, nullptr);
        mgr.currentScript = 'B';
        mgr.currentKeyboard = 160;
        mgr.dualFontOn = 0;
        strcpy(mgr.keyboardFile, "INSKBD.BIN");
        char path[] = "INSKBD.BIN";
        mgr.layoutTableRef = _LKT(path, 0);
        nktest::State().hookEnabled = 1;
        ASSERT_EQ(_AS('B'), 0) << "the Devanagari module does not bind";
        dialog = CreateDialogParamA(mgr.instance, "KBDOVR", nullptr, QuietDialog, 0);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
        if (mgr.instance) FreeLibrary(mgr.instance);
        mgr.instance = nullptr;
    }
    std::string Glyphs(const char* iscii) {
        char glyphs[OVERLAY_GLYPHS_SIZE] = "";
        int32_t state = 0, parameter = 0;
        _A2I(iscii, glyphs, &state, &parameter);
        return glyphs;
    }

    static bool fontAdded;
    static bool printerAdded;
    HWND dialog = nullptr;
};
bool OverlayPage::fontAdded = false;
bool OverlayPage::printerAdded = false;

TEST_F(OverlayPage, MetafileShowsTheChartWhereItBelongs) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
    HFONT scriptFont = CreateOverlayFont(dc, "DV-Velta", 11);
    HFONT font9 = CreateOverlayFont(dc, "MS Sans Serif", 9);
    DrawOverlayPage(dc, dialog, kScale, kScale, scriptFont, font9);
    HENHMETAFILE picture = CloseEnhMetaFile(dc);
    ASSERT_NE(picture, nullptr);
    PageRecords page;
    EnumEnhMetaFile(nullptr, picture, CollectRecord, &page, nullptr);
    DeleteEnhMetaFile(picture);

    // The "A" key: its rectangle, its English character at its top-left,
    // its unshifted script text (the vowel sign O) at its bottom right.
    const RECT a = PageRect(dialog, IDC_KEY_BASE + 30);
    EXPECT_GE(a.right - a.left, 65); // 20 screen pixels print about 68 wide
    EXPECT_TRUE(HasRoundRect(page, a));
    EXPECT_TRUE(HasTextAt(page, "A", a.left + Scaled(kScale), a.top + Scaled(3 * kScale)));
    const std::string sign = Glyphs("\xE5");
    ASSERT_FALSE(sign.empty());
    HDC measure = GetDC(nullptr);
    HGDIOBJ old = SelectObject(measure, scriptFont);
    SIZE extent{};
    GetTextExtentPoint32A(measure, sign.c_str(), (int)sign.size(), &extent);
    SelectObject(measure, old);
    ReleaseDC(nullptr, measure);
    EXPECT_TRUE(HasTextAt(page, sign, a.right - extent.cx - Scaled(2 * kScale),
                          a.bottom - extent.cy - Scaled(3 * kScale)))
        << "the script text of A is not at the key's bottom right";

    // Every key and special key is drawn.
    int keys = 0;
    for (int id = IDC_KEY_BASE; id <= IDC_KEY_RCTRL; ++id) {
        if (!GetDlgItem(dialog, id)) continue;
        ++keys;
        EXPECT_TRUE(HasRoundRect(page, PageRect(dialog, id))) << id;
    }
    EXPECT_EQ((int)page.roundRects.size(), keys);

    // The title band, black, as wide as the frame plus one scale step.
    const RECT last = PageRect(dialog, IDC_KEY_RCTRL);
    const int right = last.right + Scaled(20 * kScale);
    const RECT band{0, 0, right + Scaled(kScale), Scaled(20 * kScale) - 1};
    bool banded = false;
    for (const RECT& fill : page.fills)
        banded = banded || EqualRect(&fill, &band);
    EXPECT_TRUE(banded);
    const Text* title = FindText(page, "TAV KEYBOARD OVERLAY");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->at.y, Scaled(4 * kScale));
    const Text* subtitle = FindText(page, "[INSCRIPT] - [DEVANAGARI]");
    ASSERT_NE(subtitle, nullptr);
    EXPECT_EQ(subtitle->at.y, Scaled(4 * kScale) + Scaled(24 * kScale));

    // The frame, then the rule under the subtitle.
    const int top = Scaled(20 * kScale), bottom = last.bottom + Scaled(20 * kScale);
    const std::vector<std::pair<int, int>> frame = {{0, top},
                                                    {right, top},
                                                    {right, bottom},
                                                    {0, bottom},
                                                    {0, top},
                                                    {0, Scaled(44 * kScale)},
                                                    {right, Scaled(44 * kScale)}};
    ASSERT_GE(page.path.size(), frame.size());
    const size_t first = page.path.size() - frame.size();
    for (size_t i = 0; i < frame.size(); ++i) {
        EXPECT_EQ(page.path[first + i].x, frame[i].first) << "point " << i;
        EXPECT_EQ(page.path[first + i].y, frame[i].second) << "point " << i;
    }
    // The key pen is two thirds of a scale step wide, the frame's two steps.
    EXPECT_EQ(page.penWidths, (std::vector<int>{Scaled(kScale * 2 / 3), Scaled(2 * kScale)}));

    DeleteObject(scriptFont);
    DeleteObject(font9);
    ReleaseDC(nullptr, screen);
}

// ---------------------------------------------------------------------------
// Printing on every path: a second thread answers the dialogs as a user.

struct Answers {
    int setupButton;      // IDOK or IDCANCEL in the print setup dialog
    std::string fileName; // typed into Wine's "Print to File"; "" cancels it
};

// FindWindowA asks no window for its text: the main thread, waiting for
// this one at the end, could not answer.
HWND OwnDialog(const char* title) {
    return FindWindowA("#32770", title);
}

void AnswerDialogs(const Answers& answers, std::atomic<bool>& stop) {
    bool setupDone = false, fileDone = false;
    while (!stop) {
        HWND setup = OwnDialog("Print Setup");
        if (setup && IsWindowVisible(setup) && !setupDone) {
            PostMessageA(setup, WM_COMMAND, answers.setupButton, 0);
            setupDone = true;
        }
        HWND ask = OwnDialog("Print to File");
        if (ask && IsWindowVisible(ask) && !fileDone) {
            HWND edit = FindWindowExA(ask, nullptr, "Edit", nullptr);
            if (edit)
                SendMessageTimeoutA(edit, WM_SETTEXT, 0, (LPARAM)answers.fileName.c_str(),
                                    SMTO_BLOCK, 5000, nullptr);
            PostMessageA(ask, WM_COMMAND, answers.fileName.empty() ? IDCANCEL : IDOK, 0);
            fileDone = true;
        }
        Sleep(5);
    }
}

struct PrintRow {
    const char* name;
    Answers answers;
    bool cancelWhilePrinting;
    bool printed; // a complete PostScript file is written
};

TEST_F(OverlayPage, EveryPrintPathReleasesWhatItMade) {
    if (!printerAdded) GTEST_SKIP() << "Wine's PostScript driver could not be set up";
    HMODULE probe = LoadLibraryA((nkmgr::BinDir() + "manager_probe.dll").c_str());
    ASSERT_NE(probe, nullptr);
    auto cancel = (HOOKPROC)(void*)GetProcAddress(probe, "ProbeCancelPrinting");
    const std::string folder = nkmgr::MakeTempDir();
    const PrintRow rows[] = {
        {"printed", {IDOK, folder + "done.ps"}, false, true},
        {"setup cancelled", {IDCANCEL, ""}, false, false},
        {"no file given", {IDOK, ""}, false, false},
        {"cancelled while printing", {IDOK, folder + "cancelled.ps"}, true, false},
    };
    for (const PrintRow& row : rows) {
        SCOPED_TRACE(row.name);
        gdiSeam = {};
        HHOOK hook = row.cancelWhilePrinting
                         ? SetWindowsHookExA(WH_CALLWNDPROC, cancel, probe, GetCurrentThreadId())
                         : nullptr;
        std::atomic<bool> stop{false};
        std::thread answering(AnswerDialogs, row.answers, std::ref(stop));
        PrintKeyboardOverlay(dialog);
        stop = true;
        answering.join();
        if (hook) UnhookWindowsHookEx(hook);

        EXPECT_EQ(gdiSeam.objectsLive, 0) << "GDI objects left behind";
        EXPECT_EQ(gdiSeam.dialogsLive, 0) << "the abort dialog is left";
        EXPECT_TRUE(IsWindowEnabled(dialog));
        const bool started = row.answers.setupButton == IDOK;
        EXPECT_EQ(gdiSeam.objectsMade > 0, started); // device context, fonts, pens
        const std::string postscript = nkmgr::ReadFileText(row.answers.fileName);
        EXPECT_EQ(postscript.find("%%EOF") != std::string::npos, row.printed);
    }
    FreeLibrary(probe);
}

} // namespace
