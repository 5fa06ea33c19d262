// The WH_GETMESSAGE hook procedure: every message an application is about to
// receive passes here. The hook changes the message record in place; it
// swallows a message by turning it into WM_NULL.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/engine/shared_check.h"
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

/* Step 3: the first key into another window. Standard controls follow their
   font: script typing in a script font ("DV-..."), English otherwise; the
   earlier toggle comes back when keys go to another window. */
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
        _LKT(shared.layoutPath, KBD_TYPEWRITER);
        return !ConverterRefused() && !LayoutRefused();
    }
    case KBD_PHONETIC:
        _LKT(shared.layoutPath, KBD_PHONETIC);
        return !LayoutRefused() && RuleFileTrusted(kRulesRomanToIscii);
    default: shared.layoutTable = (LayoutTable*)&inscriptTable; return true;
    }
}

/* Converters of this process, bound again at every key-down. */
void RebindConverters() {
    const bool adapterTrusted = RebindAdapter();
    const bool layoutTrusted = RebindLayout();
    proc.sourceRefused = !adapterTrusted || !layoutTrusted;
}

/* Step 12: Ctrl+Shift+F1..F9, F11, F12 choose a script in the manager. */
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

/* Step 10: category 6 drops the fourth and later identical key-downs in a
   row; category 9 toggles its Esc-after-glyph with F12. Returns -1 to go on. */
int CategoryKeyGuards(MSG* msg) {
    if (CategoryIs(6)) {
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
    if (CategoryIs(9) && KeyDown(VK_F12)) {
        shared.amiProEscape = !shared.amiProEscape;
        PostMessageA(ManagerWindow(), WM_COMMAND, kCmdAmiProToggle, 100);
        return 1;
    }
    return -1;
}

int KeyDownMessage(MSG* msg) {
    const int vk = (int)msg->wParam;
    // 1. The Clear key is only a modifier for extended codes.
    if (vk == VK_CLEAR) return 0;

    // 2. Active window and its category.
    shared.activeWindow = GetActiveWindow();
    shared.activeTitle[0] = 0;
    GetWindowTextA(shared.activeWindow, shared.activeTitle, sizeof shared.activeTitle);
    if (shared.activeWindow != shared.lastActiveWindow) DetectCategory();

    // 3. Focus window.
    if (msg->hwnd != shared.lastFocusWindow) FollowFocusWindow(msg->hwnd);

    // 4, 5. Converters of this process; the key state.
    RebindConverters();
    GetKeyboardState(shared.keyState);

    // 6. The overlay mirrors the switch key and Shift. The title is checked
    // too: any program can set the category flags, and these commands must
    // reach no other window.
    if (CategoryIs(12) && ContainsText(shared.activeTitle, kOverlayTitle) && !IsRepeat(msg)) {
        if (vk == shared.switchKey)
            PostMessageA(shared.activeWindow, WM_COMMAND, kCmdOverlayCaps, 1);
        if (vk == VK_SHIFT) PostMessageA(shared.activeWindow, WM_COMMAND, kCmdOverlayShift, 1);
    }

    // 7. Ctrl+Space disables or enables typing through the manager.
    if (KeyDown(VK_CONTROL) && KeyDown(VK_SPACE) && !KeyDown(VK_SHIFT)) {
        SendMessageA(ManagerWindow(), WM_COMMAND, kCmdDisable, 0);
        ResetWord();
        return 1;
    }

    // 8. The switch key flips script and English typing; it reaches the
    // application itself.
    if (shared.switchKey != 0 && KeyDown(shared.switchKey) && !IsRepeat(msg)) {
        if (!SwitchToggledOn()) {
            ResetWord();
            shared.typingMode = shared.typingMode < 2 ? MODE_ENGLISH : MODE_DISABLED_ENGLISH;
        } else {
            shared.typingMode = shared.typingMode < 2 ? MODE_SCRIPT : MODE_DISABLED_SCRIPT;
        }
        RefreshManagerTitle();
        if (ContainsText(shared.activeTitle, "TAV")) shared.wordFocusRequest = 1;
        return 1;
    }

    // 9. English or disabled: keys pass unchanged. So they do when a file
    // the script or keyboard needs lies outside the program folder.
    if (!SwitchToggledOn() || shared.typingMode >= 2 || proc.sourceRefused) {
        ResetWord();
        if (CategoryIs(9)) PostShiftUp(msg->hwnd);
        if (shared.categoryFlags[CAT_FLAG_WORDPRO]) PostShiftUp(msg->hwnd);
        return 1;
    }

    // 10. Per-category guards.
    int result = CategoryKeyGuards(msg);
    if (result >= 0) return result;

    // 11. Shift+Esc types the script's special code through the character path.
    if (KeyDown(VK_SHIFT) && KeyDown(VK_ESCAPE)) {
        shared.keyState[VK_SHIFT] = 0;
        shared.keyState[VK_ESCAPE] = 0;
        SetKeyboardState(shared.keyState);
        Swallow(msg);
        shared.specialCodePending = 1;
    }

    // 12. Script hot keys.
    if (KeyDown(VK_CONTROL) && KeyDown(VK_SHIFT)) {
        result = ScriptHotKey(msg);
        if (result >= 0) return result;
    }

    // 13. Backspace inside a word removes its last code and recomposes.
    if (vk == VK_BACK) {
        GetKeyboardState(shared.keyState);
        size_t length = BoundedLength(shared.wordIscii, sizeof shared.wordIscii);
        if (!KeyDown(VK_BACK) || length == 0) return 1;
        shared.keyState[VK_BACK] = 0;
        shared.wordIscii[length - 1] = 0;
        SetKeyboardState(shared.keyState);
        return RecomposeWord(msg);
    }

    // 14. Shortcuts pass.
    if (KeyDown(VK_CONTROL)) return 0;

    // 15. Character keys are composed.
    if ((vk >= 48 && vk <= 90) || vk >= 145 || shared.specialCodePending) {
        if (shared.keyHeld && !CategoryIs(13)) {
            // Auto-repeat of a script key types nothing.
            Swallow(msg);
            msg->lParam = 0;
            return 0;
        }
        shared.keyHeld = 1;
        PostVirtualKeyEvent((BYTE)vk, 1);
        return ComposeKey(msg);
    }

    // 16. Any other key.
    if (vk == VK_SHIFT || vk == VK_CONTROL) return 1;
    if (vk == VK_ESCAPE) {
        Swallow(msg); // the word is kept
    } else {
        ResetWord(); // cursor keys, Tab, Enter, function keys end the word
    }
    if (CategoryIs(9)) {
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

int KeyUpMessage(MSG* msg) {
    const int vk = (int)msg->wParam;
    if (shared.specialCodePending) return 1;
    if (shared.switchKey != 0 && vk == shared.switchKey && shared.typingMode < 2)
        SelectFontInApplication(shared.activeTitle);
    shared.keyHeld = 0;
    if (CategoryIs(12) && vk == VK_SHIFT && ContainsText(shared.activeTitle, kOverlayTitle))
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

/* ---------------- _MF ---------------- */
extern "C" LRESULT CALLBACK _MF(int code, WPARAM wParam, LPARAM lParam) {
    CheckSharedState(&shared); // any program may have written it
    if (!shared.hookEnabled) return 0;
    if (code < 0) {
        CallNextHookEx(shared.getMessageHook, code, wParam, lParam);
        return 1;
    }
    MSG* msg = (MSG*)lParam;
    if (!msg) return 1;
    switch (msg->message) {
    case WM_LBUTTONDOWN:
        if (!CategoryIs(12)) ResetWord(); // a click elsewhere starts a new word
        return 0;
    case WM_RBUTTONDOWN: return RightButtonMessage(msg);
    case WM_KEYDOWN: return KeyDownMessage(msg);
    case WM_KEYUP: return KeyUpMessage(msg);
    default: return 1;
    }
}

/* ---------------- PostVirtualKeyEvent ---------------- */
extern "C" void PostVirtualKeyEvent(BYTE virtualKey, int release) {
    keybd_event(virtualKey, (BYTE)MapVirtualKeyA(virtualKey, 0), release ? KEYEVENTF_KEYUP : 0, 0);
}
