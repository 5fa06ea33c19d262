// The shared section as untrusted input, under Wine with real hooks: a
// manager stand-in (nk_xp_host) installs them, a hostile program
// (nk_hostile_writer) writes the section, and this program, an ordinary
// hooked application, receives keys. No module outside the program folder
// may be loaded in any program, no program may crash or hang, and a hooked
// program shows each kind of message box at most once.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "tests/harness/wine_test_util.h"

using namespace nktest;

namespace {

const char kOutside[] = "C:\\nkevil\\"; // decoys on another drive than the program folder

// Decoys beside the program folder, reached only through "..".
std::string OutsideBeside() {
    return ProgramFolder() + "..\\nkevil_z\\";
}

std::vector<std::string> DecoyMarkers();

// Decoy modules and data files under the names the driver looks for; no
// marker of an earlier run.
void PrepareDecoys() {
    for (const std::string& marker : DecoyMarkers())
        DeleteFileA(marker.c_str());
    const std::string evil = ProgramFolder() + "trustmods\\NKEVIL.DLL";
    for (const std::string& folder : {std::string(kOutside), OutsideBeside()}) {
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"DVTROP32.DLL", "DVAKBD32.DLL", "EVIL32.DLL"})
            CopyFileA(evil.c_str(), (folder + name).c_str(), FALSE);
        for (const char* name : {"PEKBD.BIN", "EN2IN.RUL", "IN2EN.RUL"})
            CopyFileA((ProgramFolder() + name).c_str(), (folder + name).c_str(), FALSE);
        CopyFileA((ProgramFolder() + "PEKBD.BIN").c_str(), (folder + "EVIL.TYP").c_str(), FALSE);
    }
}

// Marker files that a loaded decoy leaves, in either folder.
std::vector<std::string> DecoyMarkers() {
    std::vector<std::string> found;
    for (const std::string& folder : {std::string(kOutside), OutsideBeside()}) {
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA((folder + "loaded-*.txt").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) continue;
        do
            found.push_back(folder + data.cFileName);
        while (FindNextFileA(search, &data));
        FindClose(search);
    }
    return found;
}

// Modules of this process whose files lie in a decoy folder.
std::vector<std::string> DecoysLoadedHere() {
    std::vector<std::string> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return {"(no module list)"};
    MODULEENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        std::string path = entry.szExePath;
        for (char& c : path)
            c = (char)toupper((unsigned char)c);
        if (path.find("NKEVIL") != std::string::npos) found.push_back(entry.szExePath);
    }
    CloseHandle(snapshot);
    return found;
}

// Message boxes of this process, counted by caption and closed at once.
class BoxCounter {
  public:
    BoxCounter() { thread = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~BoxCounter() {
        stop = 1;
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    std::map<std::string, int> Seen() {
        std::lock_guard<std::mutex> hold(lock);
        return seen;
    }

  private:
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        BoxCounter* self = (BoxCounter*)param;
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char cls[16] = "", caption[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        if (owner != GetCurrentProcessId() || strcmp(cls, "#32770") != 0) return TRUE;
        if (!IsWindowVisible(window) || self->closing.count(window)) return TRUE;
        GetWindowTextA(window, caption, sizeof caption);
        {
            std::lock_guard<std::mutex> hold(self->lock);
            ++self->seen[caption];
        }
        self->closing[window] = true;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static DWORD WINAPI Run(void* param) {
        BoxCounter* self = (BoxCounter*)param;
        while (!self->stop) {
            EnumWindows(Visit, (LPARAM)self);
            for (auto it = self->closing.begin(); it != self->closing.end();)
                it = IsWindow(it->first) ? std::next(it) : self->closing.erase(it);
            Sleep(5);
        }
        return 0;
    }
    std::mutex lock;
    std::map<std::string, int> seen;
    std::map<HWND, bool> closing;
    volatile LONG stop = 0;
    HANDLE thread;
};

// A program of this folder, started with a command line; its standard output
// goes to a file.
struct Child {
    PROCESS_INFORMATION info = {};
    std::string output;
    bool Start(const std::string& commandLine, const std::string& outputFile) {
        output = outputFile;
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = out;
        std::string line = commandLine;
        const BOOL ok = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                       ProgramFolder().c_str(), &startup, &info);
        CloseHandle(out);
        return ok != 0;
    }
    // Exit code, or -1 when it has not ended within the time.
    int Wait(DWORD ms) {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return (int)code;
    }
    bool Running() { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    ~Child() {
        if (info.hProcess) {
            if (Running()) TerminateProcess(info.hProcess, 9);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

std::string ReadText(const std::string& path) {
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

// Pumps this thread's messages for ms milliseconds; a watchdog ends the
// program if one message takes longer than a few seconds (a hang).
volatile LONG heartbeat = 0;
HANDLE hostProcess = nullptr; // ended with this program when it hangs
DWORD WINAPI Watchdog(void*) {
    LONG last = -1;
    DWORD since = GetTickCount();
    for (;;) {
        Sleep(100);
        const LONG now = heartbeat;
        if (now != last) {
            last = now;
            since = GetTickCount();
        } else if (GetTickCount() - since > 8000) {
            fprintf(stderr, "the hooked program hangs\n");
            fflush(stderr);
            if (hostProcess) TerminateProcess(hostProcess, 3);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            InterlockedIncrement(&heartbeat);
        }
        InterlockedIncrement(&heartbeat);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// The keys a user types: letters, digits, space, Backspace, Shift, the switch
// key, Enter, Esc and arrows.
const BYTE kKeys[] = {'A', 'K', 'L', 'D', 'F', 'J', '1',       '9',      VK_SPACE, VK_BACK,
                      VK_SHIFT, VK_CAPITAL, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT, 'E', 'R'};

class SharedTrust : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        PrepareDecoys();
        CreateDirectoryA((ProgramFolder() + "trust").c_str(), nullptr);
        DeleteFileA((ProgramFolder() + "trust\\host.log").c_str());
        DeleteFileA((ProgramFolder() + "trust\\host.log.stop").c_str());
        host = new Child;
        ASSERT_TRUE(host->Start("nk_xp_host.exe trust\\host.log 20 B",
                                ProgramFolder() + "trust\\host.out"));
        const DWORD start = GetTickCount();
        while (ReadText(ProgramFolder() + "trust\\host.log").find("READY") == std::string::npos &&
               GetTickCount() - start < 20000)
            Sleep(50); // another program's log: nothing to wait on but the file
        ASSERT_NE(ReadText(ProgramFolder() + "trust\\host.log").find("ACTIVATED 0"),
                  std::string::npos);
        hostProcess = host->info.hProcess;
        CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
        // A popup without a system menu: no key state can open a menu loop.
        window = CreateWindowExA(0, "Edit", "Untitled - Trust Test",
                                 WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 400, 60, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(window);
        FILE* stop = fopen((ProgramFolder() + "trust\\host.log.stop").c_str(), "wb");
        if (stop) fclose(stop);
        EXPECT_EQ(host->Wait(10000), 0) << "the manager stand-in ended badly";
        delete host;
    }
    // A storm leaves whatever key state the section held (the hook stores
    // it): every test begins with no key down.
    void SetUp() override {
        SetForegroundWindow(window);
        SetFocus(window);
        for (BYTE key : {VK_SHIFT, VK_CONTROL, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL})
            keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        Pump(50);
        ClearKeyboard();
        SetWindowTextA(window, "");
    }

    // Types random keys while the writer runs; returns how many were typed.
    int TypeDuringStorm(const char* mode, DWORD ms, unsigned seed) {
        Child writer;
        char line[512];
        snprintf(line, sizeof line, "nk_hostile_writer.exe %s %lu %u %s", mode, ms, seed,
                 kOutside);
        EXPECT_TRUE(writer.Start(line, ProgramFolder() + "trust\\writer.out"));
        std::mt19937 random(seed);
        int keys = 0;
        while (writer.Running()) {
            SetForegroundWindow(window);
            SetFocus(window);
            for (int i = 0; i < 20; ++i, ++keys) {
                const BYTE key = kKeys[random() % sizeof kKeys];
                keybd_event(key, 0, 0, 0);
                keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
            }
            Pump(20);
        }
        Pump(200);
        EXPECT_EQ(writer.Wait(5000), 0);
        EXPECT_GT(atol(ReadText(writer.output).c_str()), 0) << "the writer wrote nothing";
        return keys;
    }

    void ExpectNothingFromOutside(const std::map<std::string, int>& boxes) {
        EXPECT_TRUE(DecoysLoadedHere().empty()) << DecoysLoadedHere()[0];
        const std::vector<std::string> markers = DecoyMarkers();
        EXPECT_TRUE(markers.empty()) << "a decoy was loaded: " << markers[0];
        for (const auto& [caption, count] : boxes)
            EXPECT_LE(count, 1) << "box \"" << caption << "\" shown " << count << " times";
        EXPECT_TRUE(host->Running()) << "the manager stand-in crashed";
    }

    // The switch key's toggle as asked, pressed as a user would.
    void SwitchKeyOn(bool on) {
        Pump(20);
        // The toggle changes when this thread takes the key's messages; on a
        // busy machine the focus may not have arrived for the first press.
        for (int press = 0; press < 3 && ((GetKeyState(VK_CAPITAL) & 1) != 0) != on; ++press) {
            SetForegroundWindow(window);
            SetFocus(window);
            keybd_event(VK_CAPITAL, 0, 0, 0);
            keybd_event(VK_CAPITAL, 0, KEYEVENTF_KEYUP, 0);
            for (int i = 0; i < 100 && ((GetKeyState(VK_CAPITAL) & 1) != 0) != on; ++i)
                Pump(20);
        }
        EXPECT_EQ((GetKeyState(VK_CAPITAL) & 1) != 0, on);
    }

    // The edit's text once the typed characters have arrived.
    std::string TypedText() {
        std::string text;
        for (int i = 0; i < 100 && text.empty(); ++i) {
            Pump(20);
            text = WindowText(window);
        }
        Pump(100); // a glyph after a back-space may follow
        text = WindowText(window);
        for (char& c : text)
            c = (char)toupper((unsigned char)c);
        return text;
    }

    static Child* host;
    static HWND window;
};
Child* SharedTrust::host = nullptr;
HWND SharedTrust::window = nullptr;

// One hostile value at a time, set before a key: the key passes as in English
// and nothing is read from the decoy folders; the same key with the program
// folder's files types the script.
TEST_F(SharedTrust, RefusedFilesLeaveTheKeysInEnglish) {
    BoxCounter boxes;
    SharedState& s = State();
    const SharedState saved = s;
    const std::string typewriter = ProgramFolder() + "testmods\\DVAKBD32.DLL";
    struct Row {
        const char* moduleDirectory; // nullptr: the manager's
        int keyboardKind;
        const char* layoutPath;
        std::string converter;
        const char* typed; // K with the switch key on
    } rows[] = {
        {nullptr, KBD_INSCRIPT, nullptr, "", "S"}, // the test adapter's KA
        {kOutside, KBD_INSCRIPT, nullptr, "", "K"},
        {"C:\\nkevil\\..\\nkevil\\", KBD_INSCRIPT, nullptr, "", "K"},
        {nullptr, KBD_TYPEWRITER, "DVAKBD32.TYP", typewriter, "]"},
        {nullptr, KBD_TYPEWRITER, "DVAKBD32.TYP", "C:\\nkevil\\DVAKBD32.DLL", "K"},
        {nullptr, KBD_TYPEWRITER, "DVAKBD32.TYP", "DVAKBD32.DLL:x", "K"},
        {nullptr, KBD_TYPEWRITER, "C:\\nkevil\\EVIL.TYP", typewriter, "K"},
        {nullptr, KBD_TYPEWRITER, "..\\nkevil_z\\EVIL.TYP", typewriter, "K"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.moduleDirectory ? r.moduleDirectory : "") + " " +
                     (r.layoutPath ? r.layoutPath : "") + " " + r.converter);
        memcpy(&s, &saved, sizeof s);
        if (r.moduleDirectory)
            snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", r.moduleDirectory);
        s.keyboardKind = r.keyboardKind;
        if (r.layoutPath) snprintf(s.layoutPath, sizeof s.layoutPath, "%s", r.layoutPath);
        snprintf(s.converterFileName, sizeof s.converterFileName, "%s", r.converter.c_str());
        SetWindowTextA(window, "");
        SetForegroundWindow(window);
        SetFocus(window);
        SwitchKeyOn(true);
        keybd_event('K', 0, 0, 0);
        keybd_event('K', 0, KEYEVENTF_KEYUP, 0);
        EXPECT_EQ(TypedText(), r.typed);
        SwitchKeyOn(false);
    }
    memcpy(&s, &saved, sizeof s);
    snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", ProgramFolder().c_str());
    EXPECT_EQ(ascii2iscii_init(1), 3); // the program folder's rules
    snprintf(s.moduleDirectory, sizeof s.moduleDirectory, "%s", kOutside);
    EXPECT_EQ(ascii2iscii_init(1), 5); // there too, but outside: as if missing
    EXPECT_EQ(SetConverter1("C:\\nkevil\\DVAKBD32.DLL"), 0);
    memcpy(&s, &saved, sizeof s);
    for (const auto& [caption, count] : boxes.Seen())
        printf("box \"%s\" shown %d times\n", caption.c_str(), count);
    ExpectNothingFromOutside(boxes.Seen());
}

TEST_F(SharedTrust, HostileNamesLoadNothingFromOutside) {
    BoxCounter boxes;
    const int keys = TypeDuringStorm("paths", 3000, 1);
    printf("hostile names: %d keys typed\n", keys);
    ExpectNothingFromOutside(boxes.Seen());
}

TEST_F(SharedTrust, RandomBytesOverTheWholeSection) {
    BoxCounter boxes;
    const int keys = TypeDuringStorm("random", 3000, 2);
    printf("random section: %d keys typed\n", keys);
    ExpectNothingFromOutside(boxes.Seen());
}

} // namespace
