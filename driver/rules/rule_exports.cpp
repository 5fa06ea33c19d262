// The transliterator's exports. The rule engine itself is portable.
#include "driver/engine/engine.h"

/* ---------------- ascii2iscii_init ---------------- */
extern "C" int ascii2iscii_init(int direction) {
    (void)direction;
    return 5; // no rule file can be read yet
}

/* ---------------- ascii2iscii_convert_str ---------------- */
extern "C" int ascii2iscii_convert_str(char* source, char* destination, int limit, int mode) {
    (void)source;
    (void)limit;
    (void)mode;
    if (destination) destination[0] = 0;
    return 1;
}
