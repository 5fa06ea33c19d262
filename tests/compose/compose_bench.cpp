// Cost of one script key-down end to end under Wine: _MF on a real window
// with the test adapter (rebinding the adapter module, the lookup, the
// conversion of the whole word and the posting), for words of 10 and 50
// codes and for the typewriter kind, which reloads its layout file too.
//   compose_bench [iterations]     (run from bin/)
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

// Microseconds per key-down of vk with a word of `codes` codes after it.
double Measure(HWND window, int vk, int codes, int iterations) {
    double total = 0;
    for (int i = 0; i < iterations; ++i) {
        SharedState& s = State();
        memset(s.wordIscii, 0xB3, (size_t)codes - 1); // KA ... KA, already shown
        s.wordIscii[codes - 1] = 0;
        for (int k = 0; k < codes - 1; ++k) {
            s.shownGlyphs[k] = 'S';
            s.shownPairs[2 * k] = 'S';
            s.shownPairs[2 * k + 1] = '0';
        }
        s.shownGlyphs[codes - 1] = 0;
        s.shownPairs[2 * (codes - 1)] = 0;
        s.keyHeld = 0;
        MSG msg = {window, WM_KEYDOWN, (WPARAM)vk, (LPARAM)((MapVirtualKeyA(vk, 0) << 16) | 1),
                   0,      {0, 0}};
        double start = Now();
        _MF(HC_ACTION, PM_REMOVE, (LPARAM)&msg);
        total += Now() - start;
        DrainQueue();
    }
    return total / iterations;
}

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? atoi(argv[1]) : 2000;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NkBench";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "NkBench", "Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);

    char dir[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, dir, sizeof dir);
    *(strrchr(dir, '\\') + 1) = 0;
    SharedState& s = State();
    snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%stestmods\\", dir);
    snprintf(s.adapterFileName, sizeof s.adapterFileName, "%s", "DVTROP32.DLL");
    s.activeScript = 'B';
    s.switchKey = VK_CAPITAL;
    s.typingMode = 0;
    s.keyboardKind = 160;
    BYTE state[256] = {};
    state[VK_CAPITAL] = 1;
    SetKeyboardState(state);

    setvbuf(stdout, nullptr, _IONBF, 0);
    printf("iterations %d, microseconds per key-down\n", iterations);
    printf("Shift key-down (rebind only, no composition): %8.1f\n",
           Measure(window, VK_SHIFT, 1, iterations));
    printf("Inscript, word of 10 codes:                   %8.1f\n",
           Measure(window, 'K', 10, iterations));
    printf("Inscript, word of 50 codes:                   %8.1f\n",
           Measure(window, 'K', 50, iterations));

    // Typewriter: the converter module and the layout file again at every key.
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%stestmods\\DVAKBD32.DLL", dir);
    SetConverter1(path);
    snprintf(path, sizeof path, "%stestmods\\DVAKBD32.typ", dir);
    _LKT(path, 162);
    printf("Typewriter, word of 10 codes:                 %8.1f\n",
           Measure(window, 'K', 10, iterations));
    printf("Typewriter, word of 50 codes:                 %8.1f\n",
           Measure(window, 'K', 50, iterations));
    SetConverter1("");
    DestroyWindow(window);
    return 0;
}
