// A second process for the shared-state tests: it maps nelkor.dll, then
//   shared_probe set-category N   calls SetDefAppCategory(N), exit code 0;
//   shared_probe get-category     exits with defaultAppCategory;
//   shared_probe get-mode         exits with typingMode.
#include <string.h>
#include <stdlib.h>

#include "driver/engine/shared_state.h"

int main(int argc, char** argv) {
    if (argc < 2) return 100;
    const SharedState& s = *(const SharedState*)NelkorSharedState();
    if (strcmp(argv[1], "set-category") == 0 && argc > 2) {
        SetDefAppCategory(atoi(argv[2]));
        return 0;
    }
    if (strcmp(argv[1], "get-category") == 0) return s.defaultAppCategory;
    if (strcmp(argv[1], "get-mode") == 0) return s.typingMode;
    return 101;
}
