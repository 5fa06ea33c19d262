// The soak test's typist: random keystrokes into Wine's notepad through the
// whole system (the manager and its driver, already running), notepad's text
// read back and compared with the model of what it must show.
//
// Keys go in with SendInput, through the same input queue as a keyboard's:
// the driver's hook sees every key-down and key-up in notepad's thread. The
// text is read with WM_GETTEXT, the caret with EM_GETSEL, the typing mode
// from the manager's title. A batch of keys ends with a space, and notepad
// has followed the batch once its text shows that space: every earlier key,
// and every character the driver posted for it, came first.
//
// Usage (from the program folder, beside the modules and INSKBD.BIN):
//   soak_typist <keys> <seed> [--check-every N] [--script C] [--fault backspace]
// Prints progress, every mismatch with its seed, key index and the keys
// before it, and a last line "SOAK keys=... mismatches=..."; exits 0 only
// without mismatches.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "driver/scripts/script_table.h"
#include "tests/bench/inscript_keys.h"
#include "tests/soak/soak_keys.h"
#include "tests/soak/soak_model.h"

namespace {

const int kDefaultCheckEvery = 60;     // keys between checkpoints
const DWORD kSyncTimeoutMs = 8000;     // notepad follows a batch well within this
const DWORD kFirstPollMs = 2, kLastPollMs = 32; // between looks at notepad's text
const DWORD kStartTimeoutMs = 30000;   // the manager and notepad come up
const size_t kClearAbove = 2500;       // the text is emptied beyond this many bytes
const int kRecentKeys = 64;            // keys shown before a mismatch: a whole batch
const int kMaxReportedMismatches = 20; // details of the first ones
const int kProgressEvery = 5000;
const int kScriptCount = 3;
const char kScriptCodes[kScriptCount + 1] = "ABR"; // scripts whose modules may be present
const char kManagerClass[] = "LoraTAV";

struct Session {
    HWND notepad, edit, manager;
    SoakModel model;
    LayoutTable table;
    SoakScripts hotKeyScripts;
    SoakRandom random;
    uint64_t seed;
    int longRun;
    // Counts for the report.
    long keysSent, checkpoints, mismatches, titleMismatches, clicks, caretLearned, pagesCleared;
    // The latest keys, for the reports.
    SoakKey recent[kRecentKeys];
    long recentIndex[kRecentKeys];
    char recentMode[kRecentKeys]; // S script, E English, D disabled (switch on), d disabled
    DWORD lastClickTick;
    char actual[SOAK_TEXT_MAX];
};

Session session; // one run per process; large buffers

// ---------------------------------------------------------------------------
// Adapters of the model: the real modules of the program folder.
AdapterEntryFn adapterEntries[kScriptCount];

void LoadAdapters() {
    for (int i = 0; i < kScriptCount; ++i) {
        const int code = kScriptCodes[i];
        const char* module = ScriptSingleModule(code);
        char name[64] = "SDTROP32.DLL"; // Sanskrit-Devanagari has no published name of its own
        if (module) snprintf(name, sizeof name, "%s", module);
        HMODULE handle = LoadLibraryA(name);
        char entry[64];
        snprintf(entry, sizeof entry, "iscii2%sglf", ScriptConverterName(code));
        adapterEntries[i] = handle ? (AdapterEntryFn)(void*)GetProcAddress(handle, entry) : nullptr;
        printf("adapter %c: %s %s\n", code, name, adapterEntries[i] ? entry : "(absent)");
    }
}

AdapterEntryFn AdapterFor(int script) {
    const char* at = strchr(kScriptCodes, script);
    return at && script ? adapterEntries[at - kScriptCodes] : nullptr;
}

// ---------------------------------------------------------------------------
// Keys and clicks.
void AddKey(INPUT* inputs, int* n, WORD vk, bool up) {
    INPUT& in = inputs[(*n)++];
    memset(&in, 0, sizeof in);
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyA(vk, 0);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk >= VK_PRIOR && vk <= VK_DOWN) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
}

void AddTap(INPUT* inputs, int* n, WORD vk) {
    AddKey(inputs, n, vk, false);
    AddKey(inputs, n, vk, true);
}

// The key events of one key (not a click); at most 6.
void AddKeyEvents(const SoakKey& key, INPUT* inputs, int* n) {
    switch (key.kind) {
    case SOAK_SCRIPT_KEY:
        if (key.shift) AddKey(inputs, n, VK_SHIFT, false);
        AddTap(inputs, n, (WORD)UsVirtualKey(key.scan));
        if (key.shift) AddKey(inputs, n, VK_SHIFT, true);
        break;
    case SOAK_SHIFT_ALONE: AddTap(inputs, n, VK_SHIFT); break;
    case SOAK_BACKSPACE: AddTap(inputs, n, VK_BACK); break;
    case SOAK_SPACE: AddTap(inputs, n, VK_SPACE); break;
    case SOAK_ENTER: AddTap(inputs, n, VK_RETURN); break;
    case SOAK_SWITCH: AddTap(inputs, n, VK_CAPITAL); break;
    case SOAK_LEFT: AddTap(inputs, n, VK_LEFT); break;
    case SOAK_RIGHT: AddTap(inputs, n, VK_RIGHT); break;
    case SOAK_UP: AddTap(inputs, n, VK_UP); break;
    case SOAK_DOWN: AddTap(inputs, n, VK_DOWN); break;
    case SOAK_CTRL_SPACE:
        AddKey(inputs, n, VK_CONTROL, false);
        AddTap(inputs, n, VK_SPACE);
        AddKey(inputs, n, VK_CONTROL, true);
        break;
    case SOAK_HOT_KEY:
        AddKey(inputs, n, VK_CONTROL, false);
        AddKey(inputs, n, VK_SHIFT, false);
        AddTap(inputs, n, (WORD)SoakHotKeyFor(key.script));
        AddKey(inputs, n, VK_SHIFT, true);
        AddKey(inputs, n, VK_CONTROL, true);
        break;
    default: break;
    }
}

// A left click at a screen point. Clicks closer together than the
// double-click time would select a word, so the next one waits.
void Click(POINT at) {
    const DWORD gap = GetDoubleClickTime() + 100;
    const DWORD since = GetTickCount() - session.lastClickTick;
    if (since < gap) Sleep(gap - since);
    INPUT in[3];
    memset(in, 0, sizeof in);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dx = (LONG)((at.x * 65535LL) / (width - 1));
    in[0].mi.dy = (LONG)((at.y * 65535LL) / (height - 1));
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
    session.lastClickTick = GetTickCount();
}

// A random point inside notepad's edit control, on the screen.
POINT RandomPointInText() {
    RECT client;
    GetClientRect(session.edit, &client);
    POINT p = {2 + (LONG)SoakBelow(&session.random, (uint32_t)(client.right > 8 ? client.right - 4 : 1)),
               2 + (LONG)SoakBelow(&session.random, (uint32_t)(client.bottom > 8 ? client.bottom - 4 : 1))};
    ClientToScreen(session.edit, &p);
    return p;
}

// ---------------------------------------------------------------------------
// What notepad shows.
size_t ReadText() {
    const LRESULT n = SendMessageA(session.edit, WM_GETTEXT, sizeof session.actual,
                                   (LPARAM)session.actual);
    session.actual[n >= 0 && (size_t)n < sizeof session.actual ? n : 0] = 0;
    return strlen(session.actual);
}

// The caret from EM_GETSEL's result (the text stays far below 65,536 bytes).
size_t ReadCaret() {
    return HIWORD(SendMessageA(session.edit, EM_GETSEL, 0, 0));
}

void ReadTitle(char* title, size_t size) {
    title[0] = 0;
    if (!IsWindow(session.manager)) session.manager = FindWindowA(kManagerClass, nullptr);
    GetWindowTextA(session.manager, title, (int)size);
}

// Waits until notepad's text has `length` bytes and, when `expected` is
// given, equals it. There is no event for another program's text changing,
// so it is looked at again after a sleep that grows while notepad is busy:
// every look is a message notepad's thread must answer between keys. The
// length is cheap to ask; the text is copied only when the length is right.
// The sentinel space at the end of every batch makes the first match the
// end of the batch.
bool WaitForText(size_t length, const char* expected) {
    const DWORD start = GetTickCount();
    DWORD pause = kFirstPollMs;
    for (;;) {
        const LRESULT n = SendMessageA(session.edit, WM_GETTEXTLENGTH, 0, 0);
        if (n == (LRESULT)length) {
            ReadText();
            if (strlen(session.actual) == length &&
                (!expected || memcmp(session.actual, expected, length) == 0))
                return true;
        }
        if (GetTickCount() - start > kSyncTimeoutMs) {
            ReadText();
            return false;
        }
        Sleep(pause);
        if (pause < kLastPollMs) pause *= 2;
    }
}

void PrintBytes(const char* label, const char* text, size_t from, size_t to) {
    printf("  %s [%zu..%zu):", label, from, to);
    for (size_t i = from; i < to && text[i]; ++i) printf(" %02X", (unsigned char)text[i]);
    printf("\n");
}

void PrintRecentKeys() {
    printf("  keys before it (index, mode before the key, name):");
    for (int i = 0; i < kRecentKeys; ++i) {
        const int slot = (int)((session.keysSent + i) % kRecentKeys);
        if (session.recentIndex[slot] < 0) continue;
        char name[32];
        SoakKeyName(session.recent[slot], name, sizeof name);
        printf(" %ld%c:%s", session.recentIndex[slot], session.recentMode[slot], name);
    }
    printf("\n");
}

void ReportTextMismatch(const char* what) {
    ++session.mismatches;
    if (session.mismatches > kMaxReportedMismatches) return;
    const SoakModel& m = session.model;
    size_t first = 0;
    while (first < m.length && session.actual[first] == m.text[first]) ++first;
    const size_t caret = ReadCaret();
    printf("MISMATCH (%s) seed %llu after key %ld: expected %zu bytes caret %zu, notepad %zu bytes "
           "caret %zu, first difference at %zu\n",
           what, (unsigned long long)session.seed, session.keysSent - 1, m.length, m.caret,
           strlen(session.actual), caret, first);
    // A caret mismatch shows the text around the carets.
    if (first == m.length && caret != m.caret) first = caret < m.caret ? caret : m.caret;
    const size_t from = first > 12 ? first - 12 : 0;
    PrintBytes("expected", m.text, from, first + 40);
    PrintBytes("notepad ", session.actual, from, first + 40);
    PrintRecentKeys();
}

// Typing mode and script, as the manager's title shows them.
void CheckTitle() {
    char expected[64], actual[64];
    SoakExpectedTitle(session.model, expected, sizeof expected);
    ReadTitle(actual, sizeof actual);
    if (strcmp(expected, actual) == 0) return;
    ++session.titleMismatches;
    ++session.mismatches;
    if (session.mismatches <= kMaxReportedMismatches) {
        printf("MISMATCH (mode) seed %llu after key %ld: title \"%s\", expected \"%s\"\n",
               (unsigned long long)session.seed, session.keysSent - 1, actual, expected);
        PrintRecentKeys();
    }
    // Go on from what the system shows.
    SoakModel& m = session.model;
    m.disabled = strstr(actual, "[Disabled]") != nullptr;
    if (strstr(actual, "[English]")) m.switchOn = false;
    for (const char* c = kScriptCodes; *c; ++c)
        if (strstr(actual, ScriptTitleName(*c))) m.switchOn = true, m.script = *c;
}

// The end of a batch: notepad must show the model's text, caret and mode.
void Checkpoint() {
    ++session.checkpoints;
    SoakModel& m = session.model;
    const bool same = WaitForText(m.length, m.text);
    if (!same) {
        ReportTextMismatch("text");
        SoakModelAdopt(&m, session.actual, ReadCaret());
    } else if (ReadCaret() != m.caret) {
        ReportTextMismatch("caret");
        SoakModelSetCaret(&m, ReadCaret());
    }
    CheckTitle();
    if (m.length > kClearAbove) { // a short text keeps the edit control fast
        SendMessageA(session.edit, WM_SETTEXT, 0, (LPARAM) "");
        SoakModelClearText(&m);
        ++session.pagesCleared;
    }
}

// ---------------------------------------------------------------------------
// The run.
const int kMaxEventsPerKey = 6;
INPUT pending[(kDefaultCheckEvery * 50 + 2) * kMaxEventsPerKey];
int pendingCount;
int checkEvery = kDefaultCheckEvery;

// The states (text and caret) the model went through since notepad was last
// seen to follow it. Notepad has followed a batch only when it shows a state
// that occurs once in the batch: a batch ending in "space, Backspace, space"
// passes through its final text one key before its end.
const int kMaxBatchStates = kDefaultCheckEvery * 50 + 64;
uint64_t batchStates[kMaxBatchStates];
int batchStateCount;

uint64_t ModelState() {
    const SoakModel& m = session.model;
    uint64_t h = 1469598103934665603ull; // FNV-1a over the text, then length and caret
    for (size_t i = 0; i < m.length; ++i) h = (h ^ (unsigned char)m.text[i]) * 1099511628211ull;
    return (h ^ m.length * 31 ^ m.caret) * 1099511628211ull;
}

void NoteState() {
    if (batchStateCount < kMaxBatchStates) batchStates[batchStateCount++] = ModelState();
}

bool StateSeenInBatch(uint64_t state) {
    for (int i = 0; i + 1 < batchStateCount; ++i)
        if (batchStates[i] == state) return true;
    return false;
}

void Remember(const SoakKey& key) {
    const int slot = (int)(session.keysSent % kRecentKeys);
    session.recent[slot] = key;
    const SoakModel& m = session.model;
    session.recentMode[slot] = m.disabled ? (m.switchOn ? 'D' : 'd') : m.switchOn ? 'S' : 'E';
    session.recentIndex[slot] = session.keysSent++;
}

void QueueKey(const SoakKey& key) {
    AddKeyEvents(key, pending, &pendingCount);
    Remember(key);
    SoakModelKey(&session.model, key);
    NoteState();
}

void Flush() {
    if (pendingCount) SendInput((UINT)pendingCount, pending, sizeof(INPUT));
    pendingCount = 0;
}

SoakKey Space() {
    SoakKey key = {};
    key.kind = SOAK_SPACE;
    return key;
}

// Every batch ends with spaces, as many as make its final state one that
// the batch did not pass through before: notepad has followed once it shows
// that state.
void EndBatch() {
    do QueueKey(Space());
    while (StateSeenInBatch(ModelState()));
    Flush();
    Checkpoint();
    batchStateCount = 0;
    NoteState();
    if (GetForegroundWindow() != session.notepad) {
        char title[128] = "";
        GetWindowTextA(GetForegroundWindow(), title, sizeof title);
        printf("FOCUS lost after key %ld to \"%s\"\n", session.keysSent - 1, title);
        ++session.mismatches;
        SetForegroundWindow(session.notepad);
    }
}

// A click, Up or Down: notepad decides where the caret goes. After the
// batch before it has been followed, the event and a space go in; where the
// space lands tells the caret.
void CaretEvent(const SoakKey& key) {
    EndBatch();
    Remember(key);
    SoakModelKey(&session.model, key);
    if (key.kind == SOAK_CLICK) {
        Click(RandomPointInText());
        ++session.clicks;
    } else {
        AddKeyEvents(key, pending, &pendingCount);
    }
    AddKeyEvents(Space(), pending, &pendingCount);
    Flush();
    Remember(Space());
    if (WaitForText(session.model.length + 1, nullptr)) {
        const size_t caret = ReadCaret();
        SoakModelSetCaret(&session.model, caret > 0 ? caret - 1 : 0);
        ++session.caretLearned;
    }
    SoakModelKey(&session.model, Space());
    Checkpoint();
    batchStateCount = 0;
    NoteState();
}

bool FindWindows() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStartTimeoutMs) {
        session.notepad = FindWindowA("Notepad", nullptr);
        session.edit = session.notepad ? FindWindowExA(session.notepad, nullptr, "Edit", nullptr) : nullptr;
        session.manager = FindWindowA(kManagerClass, nullptr);
        char title[64] = "";
        if (session.manager) GetWindowTextA(session.manager, title, sizeof title);
        if (session.edit && strchr(title, '[')) return true;
        Sleep(100); // other programs starting: nothing to wait on but their windows
    }
    return false;
}

// Focus notepad's text, let the driver meet the edit control (its first key
// there chooses script or English by the control's font), and take the mode
// the system starts in from the manager's title.
bool StartTyping(int script) {
    SetForegroundWindow(session.notepad);
    SendMessageA(session.edit, WM_SETTEXT, 0, (LPARAM) "");
    RECT client;
    GetClientRect(session.edit, &client);
    POINT p = {client.right / 2, client.bottom / 2};
    ClientToScreen(session.edit, &p);
    Click(p);
    SoakModelInit(&session.model, &session.table, AdapterFor, script);
    SoakKey shift = {};
    shift.kind = SOAK_SHIFT_ALONE;
    AddKeyEvents(shift, pending, &pendingCount);
    AddKeyEvents(Space(), pending, &pendingCount);
    Flush();
    if (!WaitForText(1, " ")) return false;
    SendMessageA(session.edit, WM_SETTEXT, 0, (LPARAM) "");
    char title[64];
    ReadTitle(title, sizeof title);
    session.model.switchOn = !strstr(title, "[English]") && !strstr(title, "[Disabled]");
    session.model.disabled = strstr(title, "[Disabled]") != nullptr;
    for (const char* c = kScriptCodes; *c; ++c)
        if (strstr(title, ScriptTitleName(*c))) session.model.script = *c;
    printf("start: title \"%s\"\n", title);
    return true;
}

void PrintSummary(DWORD started) {
    const SoakModel& m = session.model;
    const double seconds = (GetTickCount() - started) / 1000.0;
    printf("SOAK keys=%ld seconds=%.1f keys_per_second=%.0f checkpoints=%ld mismatches=%ld "
           "mode_mismatches=%ld clicks=%ld carets_learned=%ld pages=%ld composed=%llu "
           "word_limit_drops=%llu seed=%llu\n",
           session.keysSent, seconds, seconds > 0 ? session.keysSent / seconds : 0.0,
           session.checkpoints, session.mismatches, session.titleMismatches, session.clicks,
           session.caretLearned, session.pagesCleared + 1, (unsigned long long)m.composed,
           (unsigned long long)m.wordLimitDrops, (unsigned long long)session.seed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: soak_typist <keys> <seed> [--check-every N] [--script C] "
                        "[--fault backspace]\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    const long total = atol(argv[1]);
    session.seed = strtoull(argv[2], nullptr, 10);
    int script = 'B', fault = SOAK_FAULT_NONE;
    for (int i = 3; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--check-every")) checkEvery = atoi(argv[i + 1]);
        if (!strcmp(argv[i], "--script")) script = argv[i + 1][0];
        if (!strcmp(argv[i], "--fault") && !strcmp(argv[i + 1], "backspace"))
            fault = SOAK_FAULT_BACKSPACE_TWO_CODES;
    }
    if (checkEvery < 1 || checkEvery > kDefaultCheckEvery * 50) checkEvery = kDefaultCheckEvery;
    for (long& index : session.recentIndex) index = -1;
    SoakSeed(&session.random, session.seed);
    if (!LoadLayoutFile("INSKBD.BIN", 'B', &session.table)) {
        printf("soak: cannot read INSKBD.BIN\n");
        return 2;
    }
    LoadAdapters();
    int n = 0;
    static const char kHotKeyScripts[] = "AB"; // Sanskrit-Devanagari has no hot key
    for (const char* code = kHotKeyScripts; *code; ++code)
        if (AdapterFor(*code)) session.hotKeyScripts.codes[n++] = *code;
    if (!FindWindows() || !StartTyping(script)) {
        printf("soak: notepad or the manager did not come up\n");
        return 2;
    }
    session.model.fault = fault;
    // The driver lets Ctrl+Space itself pass; Wine translates it into a space
    // for notepad while Caps Lock is off, into nothing while it is on.
    session.model.ctrlSpaceChar = ' ';
    NoteState();
    const DWORD started = GetTickCount();
    long sinceCheck = 0;
    while (session.keysSent < total) {
        const SoakKey key = SoakNextKey(&session.random, session.model, session.hotKeyScripts,
                                        &session.longRun);
        if (key.kind == SOAK_CLICK || key.kind == SOAK_UP || key.kind == SOAK_DOWN) {
            CaretEvent(key);
            sinceCheck = 0;
        } else {
            QueueKey(key);
            if (++sinceCheck >= checkEvery) EndBatch(), sinceCheck = 0;
        }
        if (session.keysSent / kProgressEvery != (session.keysSent - 1) / kProgressEvery)
            printf("progress: %ld keys, %.0f s, %ld mismatches\n", session.keysSent,
                   (GetTickCount() - started) / 1000.0, session.mismatches);
    }
    EndBatch();
    PrintSummary(started);
    return session.mismatches == 0 ? 0 : 1;
}
