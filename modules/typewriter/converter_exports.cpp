// The two entries of one typewriter converter module. Each module is this
// file built with NK_TW_CONVERT (the converter's MakeIscii), NK_TW_HEADER and
// NK_TW_NAME (the layout's display name); the .def file exports both.
#include <string.h>

#include "include/nelkor.h"
#include "modules/typewriter/typed_output.h"
#include NK_TW_HEADER

static_assert(typewriter::kOutMax == NK_CONVERTER_OUT_MAX, "one output contract");

/* make_iscii: the typed layout codes (NUL-terminated) in, NUL-terminated
   logical ISCII out into the caller's NK_CONVERTER_OUT_MAX bytes (cut there).
   Returns the ISCII length; nothing is written through a null pointer. */
extern "C" int __cdecl make_iscii(const unsigned char* typed, unsigned char* out) {
    if (!out) return 0;
    if (!typed) {
        out[0] = 0;
        return 0;
    }
    return (int)NK_TW_CONVERT(typed, out);
}

/* get_kbd_name: the display name into the caller's NK_KBD_NAME_SIZE bytes. */
extern "C" int __cdecl get_kbd_name(char* name) {
    if (!name) return 0;
    const size_t n = strlen(NK_TW_NAME);
    static_assert(sizeof NK_TW_NAME <= NK_KBD_NAME_SIZE, "the name fits the manager's buffer");
    memcpy(name, NK_TW_NAME, n + 1);
    return 1;
}
