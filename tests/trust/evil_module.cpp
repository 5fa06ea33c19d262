// A module that must never be loaded: the tests put copies of it outside the
// program folder, under the names of adapter and typewriter modules, and name
// them through the shared section. Loaded into any process, it leaves a
// marker file "loaded-<process id>.txt" beside itself, so the test sees a
// load in any program, not only in its own.
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

void LeaveMarker(HINSTANCE self) {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* slash = strrchr(path, '\\');
    if (!slash) return;
    snprintf(slash + 1, (size_t)(path + sizeof path - slash - 1), "loaded-%lu.txt",
             GetCurrentProcessId());
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

// The entries a loaded module would be bound by; they type nothing.
extern "C" __declspec(dllexport) int __cdecl iscii2devglf(const unsigned char*, unsigned char* out,
                                                         int* consumed, int*, int) {
    if (out) out[0] = 0;
    if (consumed) *consumed = 1;
    return 1;
}
extern "C" __declspec(dllexport) int __cdecl make_iscii(const unsigned char*, unsigned char* out) {
    if (out) out[0] = 0;
    return 1;
}
