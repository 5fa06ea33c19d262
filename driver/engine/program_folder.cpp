// The driver's own program folder, the only place from which a hooked
// process opens modules, layout files, rule files and the settings file.
// It is found from the module handle of the running nelkor.dll, never from
// the shared section, which every program on the desktop can write.
#include <string.h>

#include "driver/engine/engine.h"
#include "driver/engine/path_trust.h"

namespace {

// Per process: the canonical folder, filled at the first use.
char programFolder[NK_TRUSTED_PATH_SIZE];
bool programFolderKnown = false;

void FindProgramFolder() {
    programFolder[0] = 0;
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCSTR)(void*)&FindProgramFolder, &self))
        return;
    char path[MAX_PATH + 1] = "";
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return; // cut: no folder is trusted
    char* lastSlash = strrchr(path, '\\');
    if (!lastSlash) return;
    lastSlash[1] = 0;
    CanonicalPath(path, true, programFolder, sizeof programFolder);
}

} // namespace

const char* DriverProgramFolder(void) {
    if (!programFolderKnown) {
        FindProgramFolder();
        programFolderKnown = true;
    }
    return programFolder;
}

bool ResolveTrustedFile(const char* name, size_t fieldSize, char* full, size_t fullSize) {
    return ResolveProgramFile(DriverProgramFolder(), name, fieldSize, full, fullSize);
}

bool ResolveModuleDirectoryFile(const char* fileName, char* full, size_t fullSize) {
    if (full && fullSize) full[0] = 0;
    char candidate[NK_TRUSTED_PATH_SIZE];
    const size_t dirLength = BoundedLength(shared.moduleDirectory, sizeof shared.moduleDirectory);
    if (dirLength >= sizeof shared.moduleDirectory || dirLength >= sizeof candidate) return false;
    memcpy(candidate, shared.moduleDirectory, dirLength);
    candidate[dirLength] = 0;
    if (!IsPlainFileName(fileName)) return false;
    if (AppendText(candidate, sizeof candidate, fileName) != dirLength + strlen(fileName))
        return false; // cut: it would name another file
    return ResolveTrustedFile(candidate, sizeof candidate, full, fullSize);
}

FileStamp StampFile(const char* path) {
    FileStamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !path[0] || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return stamp;
    stamp.present = true;
    stamp.sizeHigh = data.nFileSizeHigh;
    stamp.sizeLow = data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.present == b.present && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           a.written.dwLowDateTime == b.written.dwLowDateTime &&
           a.written.dwHighDateTime == b.written.dwHighDateTime;
}

void DiskCasePath(const char* trusted, char* out, size_t outSize) {
    CopyText(out, outSize, trusted);
    const char* folder = DriverProgramFolder();
    const size_t folderLength = strlen(folder);
    if (!folderLength || !IsPathBelow(folder, trusted) || strlen(trusted) >= outSize) return;
    // The folder as the system spelt it, then each name below it as found.
    memcpy(out, folder, folderLength);
    for (char* name = out + folderLength; *name;) {
        char* end = strchr(name, '\\');
        if (end) *end = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(out, &found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            if (strlen(found.cFileName) == strlen(name) && lstrcmpiA(found.cFileName, name) == 0)
                memcpy(name, found.cFileName, strlen(name));
        }
        if (!end) break;
        *end = '\\';
        name = end + 1;
    }
}
