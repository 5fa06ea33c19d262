// Test support for activation: a module folder with good and broken script
// modules (the manager's stand-in window is in tests/harness).
#ifndef NK_TEST_MODULE_FOLDER_H
#define NK_TEST_MODULE_FOLDER_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/wine_test_util.h"

namespace nktest {

// bin\acttestmods\, prepared once: copies of the test adapter under
// DVTROP32, DVBFA32, VDTROP32, RMTROP32, TLTROP32, TMTROP32, SDTROP32,
// GJTROP32 and "  TROP32.DLL" (the scripts without a prefix); a file
// GJBFA32.DLL that is no module; BNTROP32.DLL without an entry and
// KNTROP32.DLL whose output lacks its terminator (built there). Nothing else:
// ORTROP32.DLL and TLBFA32.DLL, for example, are missing.
std::string PrepareModuleFolder();

// The option calls the test adapter at path recorded in this process
// ("6:1 3:66 5:2 "); empties the log. "" when the module is not loaded.
std::string AdapterLog(const std::string& path);

// Key events that reached window: "+17 +114 -114 -17" (down +, up -).
std::string KeyEvents(HWND window);

} // namespace nktest

#endif
