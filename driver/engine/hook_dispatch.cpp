// The WH_GETMESSAGE hook procedure: every message an application is about to
// receive passes here. The hook changes the message record in place; it
// swallows a message by turning it into WM_NULL.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/engine/shared_check.h"
#include "driver/engine/unicode_output.h"
#include "driver/scripts/layouts.h"

namespace {

const UINT kCmdDisable = 176;      // the manager's Disable command
const UINT kCmdOverlayCaps = 297;  // overlay's switch-key (Caps) button
const UINT kCmdOverlayShift = 299; // overlay's Shift button
const UINT kCmdAmiProToggle = 3845;
const char kOverlayTitle[] = "TAV KEYBOARD OVERLAY";
const LPARAM kShiftUpLParam = (LPARAM)0xC02A0001u;
const LPARAM kShiftDownLParam = 0x002A0001;
const LPARAM kRepeatBit = 0x40000000;

bool KeyDown(int vk) {
    return (shared.keyState[vk & 0xFF] & 0x80) != 0;
}

// The switch key's toggle in the key state just read; without a switch key
// it reads as off, so every key passes as in English.
bool SwitchToggledOn() {
    return shared.switchKey != 0 && (shared.keyState[shared.switchKey & 0xFF] & 1) != 0;
}

void Swallow(MSG* msg) {
    msg->message = WM_NULL;
}

bool IsRepeat(const MSG* msg) {
    return (msg->lParam & kRepeatBit) != 0;
}

void PostShiftUp(HWND window) {
    PostMessageA(window, WM_KEYUP, VK_SHIFT, kShiftUpLParam);
}

/* The first key into another window. Standard controls follow their
   font: script typing in a script font ("DV-..."), English otherwise; the
   earlier toggle comes back when keys go to another window. A Unicode
   control under Unicode output takes the script's Unicode text in any font,
   so its font says nothing about the typing wanted there. */
void FollowFocusWindow(HWND window) {
    shared.lastFocusWindow = window;
    if (shared.controlLockSaved) {
        _SCL(shared.savedLockForControl);
        shared.controlLockSaved = 0;
    }
    shared.className[0] = 0;
    GetClassNameA(window, shared.className, sizeof shared.className);
    UpperCaseText(shared.className);
    if (shared.dualFont || shared.className[0] == 0) return;
    if (!ContainsText("EDIT~BUTTON~STATIC~LISTBOX~COMBOBOX~", shared.className)) return;
    if (BeginsWithText(shared.activeTitle, "INSCRIBER")) return;
    if (UnicodeOutputFor(window)) return;
    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    LOGFONTA logFont;
    if (!font || GetObjectA(font, sizeof logFont, &logFont) == 0) return;
    proc.controlLogFont = logFont;
    shared.controlLockSaved = 1;
    shared.savedLockForControl = GetKeyState(shared.switchKey) & 1;
    _SCL(logFont.lfFaceName[2] == '-' ? 1 : 0);
}

/* A module handle or entry address means nothing in another process, so the
   adapter is bound again in this one. The module loaded for the same file
   stays loaded: freeing and loading it again at every key costs milliseconds
   under Wine, and a changed file name still takes effect at the very next
   key. Only a file of the driver's own program folder is loaded; returns
   false when the name published is refused. */
bool RebindAdapter() {
    char path[NK_TRUSTED_PATH_SIZE] = "";
    bool refused = false;
    if (shared.adapterFileName[0])
        refused = !ResolveModuleDirectoryFile(shared.adapterFileName, path, sizeof path);
    if (!proc.adapterModule || !path[0] || lstrcmpiA(path, proc.adapterPath) != 0) {
        if (proc.adapterModule) {
            proc.adapterEntry = nullptr;
            FreeLibrary(proc.adapterModule);
            proc.adapterModule = nullptr;
        }
        proc.adapterPath[0] = 0;
        if (path[0]) {
            proc.adapterModule = LoadLibraryA(path);
            if (proc.adapterModule) CopyText(proc.adapterPath, sizeof proc.adapterPath, path);
        }
    }
    SetConverter();
    return !refused;
}

/* The layout files and the typewriter converter of this process. Returns
   false when a file the keyboard needs is refused. */
bool RebindLayout() {
    switch (shared.keyboardKind) {
    case KBD_TYPEWRITER: {
        if (!ConverterBoundFrom(shared.converterFileName)) SetConverter1(shared.converterFileName);
        RefreshLayoutForKey(KBD_TYPEWRITER);
        return !ConverterRefused() && !LayoutRefused();
    }
    case KBD_PHONETIC: {
        RefreshLayoutForKey(KBD_PHONETIC);
        const RuleFileState rules = CheckRuleFile(kRulesRomanToIscii);
        proc.rulesCurrent = rules.current;
        return !LayoutRefused() && rules.trusted;
    }
    default: shared.layoutTable = (LayoutTable*)&inscriptTable; return true;
    }
}

/* Converters of this process, bound again at every key-down. */
void RebindConverters() {
    const bool adapterTrusted = RebindAdapter();
    const bool layoutTrusted = RebindLayout();
    proc.sourceRefused = !adapterTrusted || !layoutTrusted;
}

/* Ctrl+Shift+F1..F9, F11, F12 choose a script in the manager. */
int ScriptHotKey(MSG* msg) {
    int key = 0;
    for (int vk = VK_F1; vk <= VK_F12 && !key; ++vk)
        if (KeyDown(vk)) key = vk;
    if (!key || key == VK_F10) return -1;
    shared.keyState[VK_CONTROL] = 0;
    shared.keyState[VK_SHIFT] = 0;
    shared.keyState[key] = 0;
    SetKeyboardState(shared.keyState);
    Swallow(msg);
    ResetWord();
    int code = key <= VK_F9 ? key - 47 : key - 48;
    SendMessageA(ManagerWindow(), WM_USER, (WPARAM)code, (LPARAM)code);
    if (shared.wordTitleFlag == 0) shared.wordFocusRequest = 1;
    SetActiveWindow(shared.activeWindow);
    return 1;
}

/* Guards of some categories: Corel Ventura drops the fourth and later
   identical key-downs in a row; Ami Pro toggles its Esc-after-glyph with F12.
   Returns -1 to go on. */
int CategoryKeyGuards(MSG* msg) {
    if (CategoryIs(CATEGORY_COREL_VENTURA)) {
        if (msg->lParam == proc.venturaLastKey && msg->wParam >= 48 && msg->wParam <= 89) {
            if (++proc.venturaRepeatCount > 3) {
                msg->message = WM_NULL;
                msg->wParam = 0;
                msg->lParam = 0;
                return 1;
            }
        } else {
            proc.venturaLastKey = (int32_t)msg->lParam;
            proc.venturaRepeatCount = 1;
        }
    }
    if (CategoryIs(CATEGORY_AMIPRO) && KeyDown(VK_F12)) {
        shared.amiProEscape = !shared.amiProEscape;
        PostMessageA(ManagerWindow(), WM_COMMAND, kCmdAmiProToggle, 100);
        return 1;
    }
    return -1;
}

// What a phase of a key-down decided: kGoOn lets the next phase look at the
// key; any other value is the hook's result for it.
const int kGoOn = -1;

/* Window tracking: the active window, its title and category, and the focus
   window. The active window changes only when keys go to another window, so
   while they go to the focus window of the last key the system is not asked
   for it; the title (a cheap read of a window of this thread) is read at every
   key, and the category detected again when the window changed. */
void TrackWindows(MSG* msg) {
    if (msg->hwnd != shared.lastFocusWindow || !shared.activeWindow)
        shared.activeWindow = GetActiveWindow();
    shared.activeTitle[0] = 0;
    GetWindowTextA(shared.activeWindow, shared.activeTitle, sizeof shared.activeTitle);
    if (shared.activeWindow != shared.lastActiveWindow) DetectCategory();
    if (msg->hwnd != shared.lastFocusWindow) FollowFocusWindow(msg->hwnd);
}

/* Keys that change the mode: the overlay mirrors the switch key and Shift,
   Ctrl+Space disables or enables typing through the manager, the switch key
   flips script and English typing (and reaches the application itself). */
int ModeKeys(MSG* msg, int vk) {
    // The title is checked too: any program can set the category flags, and
    // these commands must reach no other window.
    if (CategoryIs(CATEGORY_OVERLAY) && ContainsText(shared.activeTitle, kOverlayTitle) &&
        !IsRepeat(msg)) {
        if (vk == shared.switchKey)
            PostMessageA(shared.activeWindow, WM_COMMAND, kCmdOverlayCaps, 1);
        if (vk == VK_SHIFT) PostMessageA(shared.activeWindow, WM_COMMAND, kCmdOverlayShift, 1);
    }
    if (KeyDown(VK_CONTROL) && KeyDown(VK_SPACE) && !KeyDown(VK_SHIFT)) {
        SendMessageA(ManagerWindow(), WM_COMMAND, kCmdDisable, 0);
        ResetWord();
        return 1;
    }
    if (shared.switchKey != 0 && KeyDown(shared.switchKey) && !IsRepeat(msg)) {
        const bool disabled = shared.typingMode >= MODE_DISABLED_SCRIPT;
        if (!SwitchToggledOn()) {
            ResetWord();
            shared.typingMode = disabled ? MODE_DISABLED_ENGLISH : MODE_ENGLISH;
        } else {
            shared.typingMode = disabled ? MODE_DISABLED_SCRIPT : MODE_SCRIPT;
        }
        RefreshManagerTitle();
        if (ContainsText(shared.activeTitle, "TAV")) shared.wordFocusRequest = 1;
        return 1;
    }
    return kGoOn;
}

/* English or disabled typing: keys pass unchanged. So they do when a file the
   script or keyboard needs lies outside the program folder. */
int EnglishKeys(MSG* msg) {
    if (SwitchToggledOn() && shared.typingMode < MODE_DISABLED_SCRIPT && !proc.sourceRefused)
        return kGoOn;
    ResetWord();
    if (CategoryIs(CATEGORY_AMIPRO)) PostShiftUp(msg->hwnd);
    if (shared.categoryFlags[CAT_FLAG_WORDPRO]) PostShiftUp(msg->hwnd);
    return 1;
}

/* Shift+Esc types the script's special code through the character path; the
   script hot keys; Backspace inside a word removes its last code. */
int ScriptCommandKeys(MSG* msg, int vk) {
    if (KeyDown(VK_SHIFT) && KeyDown(VK_ESCAPE)) {
        shared.keyState[VK_SHIFT] = 0;
        shared.keyState[VK_ESCAPE] = 0;
        SetKeyboardState(shared.keyState);
        Swallow(msg);
        shared.specialCodePending = 1;
    }
    if (KeyDown(VK_CONTROL) && KeyDown(VK_SHIFT)) {
        const int result = ScriptHotKey(msg);
        if (result >= 0) return result;
    }
    if (vk == VK_BACK) {
        GetKeyboardState(shared.keyState);
        const size_t length = BoundedLength(shared.wordIscii, sizeof shared.wordIscii);
        if (!KeyDown(VK_BACK) || length == 0) return 1;
        shared.keyState[VK_BACK] = 0;
        shared.wordIscii[length - 1] = 0;
        SetKeyboardState(shared.keyState);
        return RecomposeWord(msg);
    }
    return kGoOn;
}

bool IsCharacterKey(int vk) {
    return (vk >= '0' && vk <= 'Z') || vk >= VK_SCROLL || shared.specialCodePending;
}

/* A character key is composed into the word; its release is synthesised at
   once, and auto-repeat types nothing (except where the category wants it). */
int CharacterKey(MSG* msg, int vk) {
    if (shared.keyHeld && !CategoryIs(CATEGORY_FREELANCE)) {
        Swallow(msg);
        msg->lParam = 0;
        return 0;
    }
    shared.keyHeld = 1;
    PostVirtualKeyEvent((BYTE)vk, 1);
    return ComposeKey(msg);
}

/* Any other key: cursor keys, Tab, Enter and function keys end the word, Esc
   keeps it; some categories want Shift released or F2 after arrows. */
int OtherKey(MSG* msg, int vk) {
    if (vk == VK_SHIFT || vk == VK_CONTROL) return 1;
    if (vk == VK_ESCAPE)
        Swallow(msg);
    else
        ResetWord();
    if (CategoryIs(CATEGORY_AMIPRO)) {
        PostMessageA(msg->hwnd, WM_KEYDOWN, VK_SHIFT, kShiftDownLParam);
        PostShiftUp(msg->hwnd);
    } else if (shared.categoryFlags[CAT_FLAG_WORDPRO]) {
        PostShiftUp(msg->hwnd);
    } else if (CategoryIs(CATEGORY_123) && vk >= VK_LEFT && vk <= VK_DOWN) {
        for (int i = 0; i < 2; ++i) {
            PostMessageA(msg->hwnd, WM_KEYDOWN, VK_F2, kShiftUpLParam);
            PostMessageA(msg->hwnd, WM_KEYUP, VK_F2, kShiftUpLParam);
        }
    }
    return 1;
}

int KeyDownMessage(MSG* msg) {
    const int vk = (int)msg->wParam;
    if (vk == VK_CLEAR) return 0; // only a modifier for extended codes

    TrackWindows(msg);
    RebindConverters();
    GetKeyboardState(shared.keyState);

    int result = ModeKeys(msg, vk);
    if (result == kGoOn) result = EnglishKeys(msg);
    if (result == kGoOn) result = CategoryKeyGuards(msg);
    if (result == kGoOn) result = ScriptCommandKeys(msg, vk);
    if (result != kGoOn) return result;
    if (KeyDown(VK_CONTROL)) return 0; // shortcuts pass
    return IsCharacterKey(vk) ? CharacterKey(msg, vk) : OtherKey(msg, vk);
}

int KeyUpMessage(MSG* msg) {
    const int vk = (int)msg->wParam;
    if (shared.specialCodePending) return 1;
    if (shared.switchKey != 0 && vk == shared.switchKey && shared.typingMode < 2)
        SelectFontInApplication(shared.activeTitle);
    shared.keyHeld = 0;
    if (CategoryIs(CATEGORY_OVERLAY) && vk == VK_SHIFT &&
        ContainsText(shared.activeTitle, kOverlayTitle))
        PostMessageA(shared.activeWindow, WM_COMMAND, kCmdOverlayShift, 0);
    // Applications receive key-ups only for Shift, Ctrl and Alt.
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) return 1;
    Swallow(msg);
    return 1;
}

bool IsFontClass(const char* name) {
    return strcmp(name, "Edit") == 0 || strcmp(name, "OpusFedt") == 0 || strcmp(name, "EDTBX") == 0;
}

/* A right click in an edit control offers a font for it; a script font turns
   script typing on there. */
int RightButtonMessage(MSG* msg) {
    HWND window = msg->hwnd;
    shared.className[0] = 0;
    GetClassNameA(window, shared.className, sizeof shared.className);
    if (strcmp(shared.className, "OpusFedt") == 0 && shared.fontDialogDone) {
        shared.fontDialogDone = 0;
        return 0;
    }
    // The manager's own windows keep their clicks. (Without a known manager
    // window every top-level window would match its null parent.)
    if (shared.managerWindow &&
        (window == shared.managerWindow ||
         (HWND)GetWindowLongPtrA(window, GWLP_HWNDPARENT) == shared.managerWindow))
        return 1;
    ResetWord();
    if ((msg->wParam & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT)) return 1;
    shared.className[0] = 0;
    GetClassNameA(window, shared.className, sizeof shared.className);
    if (!IsFontClass(shared.className)) return 1;
    if (!ChooseControlFont(window, &proc.controlLogFont)) {
        SetFocus(window);
        shared.fontDialogDone = 1;
        return 1;
    }
    if (proc.controlFont) DeleteObject(proc.controlFont);
    proc.controlFont = CreateFontIndirectA(&proc.controlLogFont);
    shared.controlFont = proc.controlFont;
    SendMessageA(window, WM_SETFONT, (WPARAM)proc.controlFont, 1);
    _SCL(proc.controlLogFont.lfFaceName[2] == '-' ? 1 : 0);
    SetFocus(window);
    shared.fontDialogDone = 1;
    return 1;
}

} // namespace

namespace {

int HandleMessage(MSG* msg) {
    switch (msg->message) {
    case WM_LBUTTONDOWN:
        if (!CategoryIs(CATEGORY_OVERLAY)) ResetWord(); // a click elsewhere starts a new word
        return 0;
    case WM_RBUTTONDOWN: return RightButtonMessage(msg);
    case WM_KEYDOWN: return KeyDownMessage(msg);
    case WM_KEYUP: return KeyUpMessage(msg);
    default: return 1;
    }
}

} // namespace

/* ---------------- _MF ----------------
   Every message passes on to the hooks after this one (a screen reader,
   another input tool) unless it was swallowed here. */
extern "C" LRESULT CALLBACK _MF(int code, WPARAM wParam, LPARAM lParam) {
    CheckSharedState(&shared); // any program may have written it
    MSG* msg = (MSG*)lParam;
    if (code < 0 || !shared.hookEnabled || !msg) {
        CallNextHookEx(shared.getMessageHook, code, wParam, lParam);
        return code < 0 ? 1 : 0;
    }
    const UINT before = msg->message;
    const int result = HandleMessage(msg);
    const bool swallowed = msg->message == WM_NULL && before != WM_NULL;
    if (!swallowed) CallNextHookEx(shared.getMessageHook, code, wParam, lParam);
    return result;
}

/* ---------------- PostVirtualKeyEvent ---------------- */
extern "C" void PostVirtualKeyEvent(BYTE virtualKey, int release) {
    keybd_event(virtualKey, (BYTE)MapVirtualKeyA(virtualKey, 0), release ? KEYEVENTF_KEYUP : 0, 0);
}
