// Closes the message box that the code under test shows, and records what it
// showed. A system-modal box blocks the calling thread, so a second thread
// waits for a dialog of class "#32770" with the expected caption, reads it
// and answers OK.
#ifndef NK_TEST_BOX_WATCHER_H
#define NK_TEST_BOX_WATCHER_H

#include <windows.h>

#include <string>

namespace nktest {

struct SeenBox {
    bool seen = false;
    std::string text;     // the message text
    HWND owner = nullptr; // the window the box was shown over
    bool topmost = false; // system-modal boxes stay above every window
    bool hasIcon = false; // an icon control is present
};

class BoxWatcher {
  public:
    // Starts watching for a box with this caption, for at most timeoutMs.
    BoxWatcher(const char* caption, DWORD timeoutMs = 5000);
    ~BoxWatcher();
    // Waits for the watcher thread and returns what it saw.
    SeenBox Result();

  private:
    static DWORD WINAPI Run(void* self);
    std::string caption_;
    DWORD timeoutMs_;
    SeenBox box_;
    HANDLE thread_ = nullptr;
};

} // namespace nktest

#endif
