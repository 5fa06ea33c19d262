// A typewriter module that names its layout but cannot convert: it lacks
// "make_iscii". The manager lists it; choosing it must leave Inscript typing.
#include <stdio.h>

extern "C" __declspec(dllexport) int __cdecl get_kbd_name(char* name) {
    if (name) snprintf(name, 260, "%s", "Name Only");
    return 1;
}
