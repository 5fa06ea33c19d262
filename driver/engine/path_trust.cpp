#include "driver/engine/path_trust.h"

#include <string.h>

#include <initializer_list>

#include "support/bounded_text.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters no file name holds; ':' would name a drive or a stream.
bool IsForbiddenInName(unsigned char c) {
    return c < 0x20 || c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' ||
           c == '*';
}

// Device names that the system opens as devices in any folder and with any
// extension: CON, PRN, AUX, NUL, COM0..9 and LPT0..9 (also with the
// superscript digits of code page 1252), CONIN$, CONOUT$.
bool IsDeviceName(const char* name, size_t length) {
    size_t base = 0;
    while (base < length && name[base] != '.')
        ++base;
    // Trailing blanks before the extension are ignored by the system too.
    while (base > 0 && name[base - 1] == ' ')
        --base;
    char upper[8];
    if (base == 0 || base >= sizeof upper) return false;
    for (size_t i = 0; i < base; ++i)
        upper[i] = UpperAscii(name[i]);
    upper[base] = 0;
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (strcmp(upper, device) == 0) return true;
    if (base == 4 && (memcmp(upper, "COM", 3) == 0 || memcmp(upper, "LPT", 3) == 0)) {
        const unsigned char digit = (unsigned char)upper[3];
        return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

// A component the system reads exactly as written.
bool IsValidComponent(const char* name, size_t length) {
    if (length == 0) return false;
    bool onlyDots = true;
    for (size_t i = 0; i < length; ++i) {
        if (IsForbiddenInName((unsigned char)name[i])) return false;
        if (name[i] != '.' && name[i] != ' ') onlyDots = false;
    }
    if (onlyDots) return false;
    if (name[length - 1] == '.' || name[length - 1] == ' ') return false;
    return !IsDeviceName(name, length);
}

struct Component {
    const char* text;
    size_t length;
};

} // namespace

bool CanonicalPath(const char* path, bool folder, char* out, size_t outSize) {
    if (!out || outSize == 0) return false;
    out[0] = 0;
    if (!path || !IsAsciiLetter(path[0]) || path[1] != ':' || !IsSeparator(path[2])) return false;

    Component parts[NK_PATH_MAX_COMPONENTS];
    int count = 0;
    const char* p = path + 3;
    while (*p) {
        while (IsSeparator(*p))
            ++p;
        const char* start = p;
        while (*p && !IsSeparator(*p))
            ++p;
        const size_t length = (size_t)(p - start);
        if (length == 0 || (length == 1 && start[0] == '.')) continue;
        if (length == 2 && start[0] == '.' && start[1] == '.') {
            if (count == 0) return false; // above the drive
            --count;
            continue;
        }
        if (!IsValidComponent(start, length) || count == NK_PATH_MAX_COMPONENTS) return false;
        parts[count++] = {start, length};
    }

    size_t used = 0;
    auto put = [&](const char* text, size_t length) {
        if (used + length >= outSize) return false;
        memcpy(out + used, text, length);
        used += length;
        out[used] = 0;
        return true;
    };
    const char drive[3] = {UpperAscii(path[0]), ':', '\\'};
    bool fits = put(drive, sizeof drive);
    for (int i = 0; fits && i < count; ++i) {
        fits = put(parts[i].text, parts[i].length);
        if (fits && (i + 1 < count || folder)) fits = put("\\", 1);
    }
    if (!fits) out[0] = 0;
    return fits;
}

bool IsPlainFileName(const char* name) {
    if (!name) return false;
    for (const char* p = name; *p; ++p)
        if (IsSeparator(*p)) return false;
    return IsValidComponent(name, strlen(name));
}

bool IsPathBelow(const char* folder, const char* path) {
    if (!folder || !path) return false;
    const size_t folderLength = strlen(folder);
    if (folderLength < 3 || folder[folderLength - 1] != '\\') return false;
    for (size_t i = 0; i < folderLength; ++i)
        if (UpperAscii(path[i]) != UpperAscii(folder[i])) return false; // also stops at path's end
    return path[folderLength] != 0 && path[folderLength] != '\\';
}

bool ResolveProgramFile(const char* programFolder, const char* name, size_t fieldSize, char* full,
                        size_t fullSize) {
    if (!full || fullSize == 0) return false;
    full[0] = 0;
    if (!programFolder || !programFolder[0] || !name || fieldSize == 0) return false;
    const size_t length = BoundedLength(name, fieldSize);
    if (length == 0 || length >= fieldSize) return false; // empty, or not ended in its field

    char candidate[NK_TRUSTED_PATH_SIZE];
    if (IsPlainFileName(name)) {
        CopyText(candidate, sizeof candidate, programFolder);
        if (AppendText(candidate, sizeof candidate, name) != strlen(programFolder) + length)
            return false;
    } else if (length < sizeof candidate) {
        memcpy(candidate, name, length);
        candidate[length] = 0;
    } else {
        return false;
    }
    char canonical[NK_TRUSTED_PATH_SIZE];
    if (!CanonicalPath(candidate, false, canonical, sizeof canonical)) return false;
    if (!IsPathBelow(programFolder, canonical)) return false;
    if (strlen(canonical) >= fullSize) return false;
    CopyText(full, fullSize, canonical);
    return true;
}
