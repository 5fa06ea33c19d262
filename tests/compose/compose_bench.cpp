// Cost of one key-down in the hook under Wine, with the real Devanagari
// module: _MF on a real window (window tracking, binding the converters, the
// layout lookup, the conversion of the whole word and the posting), for each
// keyboard kind and words of 1, 10 and 50 codes, and Shift alone; then what
// the parts of a key-down cost on their own. Prints one table of medians.
//   compose_bench [iterations]     (run from bin/, beside nelkor.dll)
// The driver is bound at load time, so the same program measures any build
// of nelkor.dll put beside it (scripts/bench.sh runs two builds side by side).
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/engine/shared_state.h"

namespace {

SharedState& State() {
    return *(SharedState*)NelkorSharedState();
}

LRESULT CALLBACK WndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

void DrainQueue() {
    MSG msg;
    // Bounded, and dispatched: an unvalidated window asks to be painted forever.
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart * 1e6 / (double)f.QuadPart;
}

std::string programFolder;
HWND window;
int iterations = 2000;

void KeyDown(int vk) {
    State().keyHeld = 0; // no auto-repeat
    MSG msg = {window, WM_KEYDOWN, (WPARAM)vk, (LPARAM)((MapVirtualKeyA(vk, 0) << 16) | 1), 0,
               {0, 0}};
    _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
}

// Microseconds per key-down of the codes-th key of the word typed with keys
// (repeated), after the codes - 1 keys before it, as the word stands on
// screen then. Each row's keys add one syllable per key or two, so that
// every kind types about as many glyphs per key.
double Measure(const char* keys, int codes) {
    SharedState& s = State();
    s.wordIscii[0] = s.shownGlyphs[0] = s.shownPairs[0] = 0;
    const int keyCount = (int)strlen(keys);
    for (int k = 0; k + 1 < codes; ++k) {
        KeyDown(keys[k % keyCount]);
        DrainQueue();
    }
    const int vk = keys[(codes - 1) % keyCount];
    char word[sizeof s.wordIscii], glyphs[sizeof s.shownGlyphs], pairs[sizeof s.shownPairs];
    memcpy(word, s.wordIscii, sizeof word);
    memcpy(glyphs, s.shownGlyphs, sizeof glyphs);
    memcpy(pairs, s.shownPairs, sizeof pairs);
    // The median: on a busy machine a few key-downs wait for the processor,
    // and the mean would measure the machine rather than the code.
    std::vector<double> times((size_t)iterations);
    for (double& time : times) {
        memcpy(s.wordIscii, word, sizeof word);
        memcpy(s.shownGlyphs, glyphs, sizeof glyphs);
        memcpy(s.shownPairs, pairs, sizeof pairs);
        const double start = Now();
        KeyDown(vk);
        time = Now() - start;
        DrainQueue();
    }
    s.wordIscii[0] = s.shownGlyphs[0] = s.shownPairs[0] = 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Microseconds per call of f: the median of count calls.
template <typename F> double PerCall(F f, int count) {
    std::vector<double> times((size_t)count);
    for (double& time : times) {
        const double start = Now();
        f();
        time = Now() - start;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void ChooseKeyboard(int kind) {
    char path[MAX_PATH];
    switch (kind) {
    case KBD_PHONETIC:
        snprintf(path, sizeof path, "%s", "PEKBD.BIN");
        _LKT(path, 0);
        ascii2iscii_init(1);
        break;
    case KBD_TYPEWRITER:
        SetConverter1((programFolder + "DVAKBD32.DLL").c_str());
        snprintf(path, sizeof path, "%s", (programFolder + "DVAKBD32.typ").c_str());
        _LKT(path, KBD_TYPEWRITER);
        break;
    default:
        snprintf(path, sizeof path, "%s", "INSKBD.BIN");
        _LKT(path, 0);
        break;
    }
}

void PrintKeyDowns() {
    printf("%-34s %9s %9s %9s\n", "key-down (us)", "1 code", "10 codes", "50 codes");
    const char shift[] = {VK_SHIFT, 0};
    printf("%-34s %9.1f\n", "Shift alone", Measure(shift, 1));
    const struct {
        const char* name;
        int kind;
        const char* keys;
    } rows[] = {{"Inscript (160), K K K", KBD_INSCRIPT, "K"},
                {"Phonetic English (161), K A K A", KBD_PHONETIC, "KA"},
                {"typewriter (162), K K K", KBD_TYPEWRITER, "K"}};
    for (const auto& row : rows) {
        ChooseKeyboard(row.kind);
        printf("%-34s %9.1f %9.1f %9.1f\n", row.name, Measure(row.keys, 1),
               Measure(row.keys, 10), Measure(row.keys, 50));
    }
    ChooseKeyboard(KBD_INSCRIPT);
    SetConverter1("");
}

// What the parts of a key-down cost when called alone.
void PrintParts() {
    printf("%-34s %9s\n", "part (us per call)", "");
    char title[128];
    BYTE keys[256];
    printf("%-34s %9.2f\n", "GetActiveWindow", PerCall([] { GetActiveWindow(); }, 20000));
    printf("%-34s %9.2f\n", "GetWindowTextA (own window)",
           PerCall([&] { GetWindowTextA(window, title, sizeof title); }, 20000));
    printf("%-34s %9.2f\n", "GetKeyboardState",
           PerCall([&] { GetKeyboardState(keys); }, 20000));
    printf("%-34s %9.2f\n", "MapVirtualKeyA", PerCall([] { MapVirtualKeyA('K', 0); }, 20000));
    printf("%-34s %9.2f\n", "PostMessageA WM_CHAR + drain",
           PerCall([] { PostMessageA(window, WM_CHAR, 'x', 1); DrainQueue(); }, 5000));
    printf("%-34s %9.2f\n", "keybd_event key-up + drain",
           PerCall([] { keybd_event('K', 0, KEYEVENTF_KEYUP, 0); DrainQueue(); }, 2000));
    const std::string module = programFolder + "DVTROP32.DLL";
    HMODULE held = LoadLibraryA(module.c_str()); // as the hook keeps it
    printf("%-34s %9.2f\n", "LoadLibraryA+FreeLibrary (held)",
           PerCall([&] { FreeLibrary(LoadLibraryA(module.c_str())); }, 2000));
    printf("%-34s %9.2f\n", "GetProcAddress", PerCall([&] {
               GetProcAddress(held, "iscii2devglf");
           }, 20000));
    AdapterEntryFn entry = (AdapterEntryFn)(void*)GetProcAddress(held, "iscii2devglf");
    unsigned char word[51], out[NK_ADAPTER_OUT_MAX];
    memset(word, 0xB3, 50);
    word[50] = 0;
    printf("%-34s %9.2f\n", "adapter, word of 50 codes", PerCall([&] {
               for (const unsigned char* p = word; *p;) {
                   int32_t consumed = 0, length = 0;
                   entry(p, out, &consumed, &length, 0);
                   p += consumed > 0 ? consumed : 1;
               }
           }, 2000));
    FreeLibrary(held);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s", "PEKBD.BIN");
    printf("%-34s %9.2f\n", "layout file read (FillKeyboardTable)",
           PerCall([&] { FillKeyboardTable(path); }, 500));
    printf("%-34s %9.2f\n", "rule file read (ascii2iscii_init)",
           PerCall([] { ascii2iscii_init(1); }, 200));
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::string rules = programFolder + "EN2IN.RUL";
    printf("%-34s %9.2f\n", "GetFileAttributesExA",
           PerCall([&] { GetFileAttributesExA(rules.c_str(), GetFileExInfoStandard, &data); },
                   5000));
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) iterations = atoi(argv[1]);
    if (iterations < 1) iterations = 1;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NkBench";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "NkBench", "Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);

    // A program folder of the bench's own below bin\: the real Devanagari
    // module, the test typewriter module and the layout and rule files.
    char bin[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, bin, sizeof bin);
    *(strrchr(bin, '\\') + 1) = 0;
    programFolder = std::string(bin) + "benchdir\\";
    CreateDirectoryA(programFolder.c_str(), nullptr);
    for (const char* name : {"DVTROP32.DLL", "INSKBD.BIN", "PEKBD.BIN", "EN2IN.RUL", "IN2EN.RUL",
                             "testmods\\DVAKBD32.DLL", "testmods\\DVAKBD32.typ"}) {
        const char* file = strrchr(name, '\\') ? strrchr(name, '\\') + 1 : name;
        CopyFileA((std::string(bin) + name).c_str(), (programFolder + file).c_str(), FALSE);
    }
    const char* dir = programFolder.c_str();
    SharedState& s = State();
    snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", dir);
    snprintf(s.iniDirectory, sizeof s.iniDirectory, "%s", dir);
    snprintf(s.adapterFileName, sizeof s.adapterFileName, "%s", "dvtrop32.dll");
    s.activeScript = SCRIPT_DEVANAGARI;
    s.switchKey = VK_CAPITAL;
    s.typingMode = MODE_SCRIPT;
    s.keyboardKind = KBD_INSCRIPT;
    s.hookEnabled = 1;
    BYTE state[256] = {};
    state[VK_CAPITAL] = 1;
    SetKeyboardState(state);

    setvbuf(stdout, nullptr, _IONBF, 0);
    printf("%d key-downs per cell, module %sDVTROP32.DLL\n", iterations, dir);
    PrintKeyDowns();
    PrintParts();
    DestroyWindow(window);
    return 0;
}
