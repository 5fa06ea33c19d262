// Syllable composition and output of the word being typed.
#include "driver/engine/engine.h"

int ComposeKey(MSG* msg) {
    msg->message = WM_NULL; // the key itself never reaches the application
    return 1;
}

int RecomposeWord(MSG* msg) {
    msg->message = WM_NULL;
    return 1;
}
