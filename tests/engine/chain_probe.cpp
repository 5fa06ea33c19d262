// Another program's message hook, installed before the driver's: it records
// the keyboard messages the hook chain passes on to it, in this process.
#include <windows.h>

#include <stdio.h>

namespace {

enum { kRecordMax = 256 };
struct Seen {
    UINT message;
    WPARAM wParam;
};
Seen seen[kRecordMax];
int seenCount = 0;

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK chain_probe_hook(int code, WPARAM wParam,
                                                                  LPARAM lParam) {
    const MSG* msg = (const MSG*)lParam;
    if (code >= 0 && msg && wParam == PM_REMOVE && seenCount < kRecordMax &&
        (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR))
        seen[seenCount++] = {msg->message, msg->wParam};
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// "D4B C6B" for WM_KEYDOWN 0x4B, WM_CHAR 'k' (D down, U up, C character, hex
// code); empties the record.
extern "C" __declspec(dllexport) int __cdecl chain_probe_take(char* text, int size) {
    int used = 0;
    if (size > 0) text[0] = 0;
    for (int i = 0; i < seenCount && used + 8 < size; ++i) {
        const char kind = seen[i].message == WM_KEYDOWN ? 'D' : seen[i].message == WM_KEYUP ? 'U' : 'C';
        used += snprintf(text + used, (size_t)(size - used), "%s%c%X", used ? " " : "", kind,
                         (unsigned)seen[i].wParam);
    }
    seenCount = 0;
    return used;
}
