// Which files the driver may open. Names of modules, layout files and rule
// files come from the shared section, which every program on the desktop can
// write; a hooked process opens a named file only when it lies in the
// driver's own program folder or a folder below it. Portable (no Windows
// API), so that it is tested and fuzzed natively.
#ifndef NK_PATH_TRUST_H
#define NK_PATH_TRUST_H

#include <stddef.h>

enum {
    // A full path the driver opens: a program folder of up to 260
    // characters and a name of up to 260, with room to spare.
    NK_TRUSTED_PATH_SIZE = 528,
    // Components of a path: "C:" and at most this many folders and a name.
    NK_PATH_MAX_COMPONENTS = 64
};

// The canonical form of an absolute path with a drive ("C:\..." or "C:/..."):
// separators become '\', "." components and empty components go, ".." takes
// the component before it away. Refused (false, out empty): a relative path,
// a UNC or device path ("\\server\...", "\\?\..."), ".." above the drive, a
// component that the system would read differently from its text (one made
// of dots and blanks only, one ending in a dot or blank, one with ':' or a
// character a file name cannot hold, a reserved device name such as "CON" or
// "LPT1.TXT"), a control character, and a result that does not fit outSize.
// With folder set, the result ends with '\' (a folder).
bool CanonicalPath(const char* path, bool folder, char* out, size_t outSize);

// A plain file name: no drive, no separator, a valid component (see above).
bool IsPlainFileName(const char* name);

// Resolves a name read from a text field of fieldSize bytes to the full,
// canonical path of a file in programFolder (a canonical folder path ending
// with '\') or a folder below it. name is used only when it ends within its
// field and is either a plain file name (taken from programFolder) or an
// absolute path that, made canonical, names a file there. Returns false and
// leaves full empty otherwise, or when programFolder is empty or the result
// does not fit fullSize. Letter case is ignored for ASCII letters only; a
// difference elsewhere refuses.
bool ResolveProgramFile(const char* programFolder, const char* name, size_t fieldSize, char* full,
                        size_t fullSize);

// Whether a canonical path lies in folder (canonical, ending with '\') or a
// folder below it, and names something beyond the folder itself.
bool IsPathBelow(const char* folder, const char* path);

#endif // NK_PATH_TRUST_H
