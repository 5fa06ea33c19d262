// Running davrin.exe from a test: a fresh program directory with the
// manager, test modules and settings, the started process, its window, and
// questions to its menus through the probe DLL.
//
// nelkor.dll stays in the test's own bin/ folder and reaches the manager
// through PATH, so that the manager and the test map the very same file and
// so share one copy of the driver's shared state.
#ifndef NK_MANAGER_SESSION_H
#define NK_MANAGER_SESSION_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace nkmgr {

// Folder of the test program (bin/), with its trailing backslash.
std::string BinDir();

// A new, empty folder under the temporary directory, trailing backslash.
std::string MakeTempDir();

// Text of a file, or "" when it does not exist.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// A program directory: davrin.exe, the named modules (the test adapter
// module copied under each name, or other test modules by their own name)
// and the rule file from bin/ when there is one.
struct ProgramDir {
    std::string path;
    std::string startIn; // the manager's current folder; empty: path
};
ProgramDir MakeProgramDir(const std::vector<std::string>& adapterNames, bool withRules = true);
// The same, in a folder nested below the temporary one so that the path of
// davrin.exe is minLength characters long (as a deep install), or one longer
// when the last folder name would otherwise be a single character.
ProgramDir MakeDeepProgramDir(const std::vector<std::string>& adapterNames, size_t minLength);
void CopyTestModule(const ProgramDir& dir, const char* module, const char* as);

// "[Settings]" with the given key=value lines into path.
void WriteSettings(const std::string& iniPath,
                   const std::vector<std::pair<std::string, std::string>>& keys);
std::string ReadSetting(const std::string& iniPath, const char* key);
// Keys of section "Settings" in file order.
std::vector<std::string> SettingsKeys(const std::string& iniPath);

// Run a command line and wait for its end (30 s at most): its exit code, or
// -1 when it cannot start.
int RunProgram(const std::string& command);

// True when the driver's rule engine loads EN2IN.RUL from bin/: start-up
// needs it, so tests of a running manager are skipped without it.
bool RulesAvailable();

struct Manager {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    bool splashSeen = false;
    RECT splashRect{};
    std::string splashClass;
};

// Start davrin.exe in dir (returns at once).
bool Launch(const ProgramDir& dir, Manager& m);
// Launch, then WaitReady: the minimised main window with the splash gone.
bool Start(const ProgramDir& dir, Manager& m);
bool WaitReady(Manager& m);
// The message box "TAV" of the manager's process: its text, closed with OK.
// Empty when none appears within the time.
std::string TakeMessageBox(const Manager& m, const char* caption = "TAV");
// Wait for the process to end; true when it did.
bool WaitForExit(Manager& m, DWORD ms = 10000);
// Close through WM_CLOSE (the settings are written) and wait for the end.
bool Close(Manager& m);
void Kill(Manager& m);

// A top-level window of the process with the given class and title.
HWND FindProcessWindow(DWORD pid, const char* className, const char* title);

// Menu questions answered inside the manager (manager_probe.h).
int MenuState(const Manager& m, int id);
int SystemMenuState(const Manager& m, int id);
int PopupCount(const Manager& m, int position);
std::string ItemText(const Manager& m, int id);
std::string KeyboardItemText(const Manager& m, int position);
int ClassStyle(const Manager& m);
int ClassLook(const Manager& m);

// Send a command the way other programs do.
void Command(const Manager& m, int id, LPARAM lParam = 0);

} // namespace nkmgr

#endif
