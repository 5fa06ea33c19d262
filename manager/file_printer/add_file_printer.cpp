// add_file_printer: a printer that writes PostScript files, for users of Wine
// without a printer. Wine offers the printers of CUPS only; this adds Wine's
// own PostScript driver, with the generic printer description Wine carries,
// and a printer "Chart to file" on the port "FILE:", for which Wine asks the
// name of the output file at every print. Run once per Wine prefix:
//   wine64 add_file_printer.exe          add it and make it the default
//   wine64 add_file_printer.exe /remove  remove it again
// Exit code 0 on success.
#include <windows.h>
#include <winspool.h>

#include <stdio.h>
#include <string.h>

static const char kPrinterName[] = "Chart to file";
static const char kDriverName[] = "Wine PostScript Driver";
static const char kDriverFile[] = "wineps.drv";
static const char kDescription[] = "generic.ppd";
static const char kDriverVersionFolder[] = "\\3\\";
static const int kGenericDescription = 1; // Wine's spooler keeps it as resource 1

// Wine's generic description, written where the driver looks for it.
static bool WriteDescription(void) {
    char folder[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, (BYTE*)folder, sizeof folder, &needed))
        return false;
    char path[MAX_PATH + 32];
    snprintf(path, sizeof path, "%s%s", folder, kDriverVersionFolder);
    CreateDirectoryA(path, nullptr);
    strncat(path, kDescription, sizeof path - strlen(path) - 1);

    HMODULE spooler = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(kGenericDescription), "PPDFILE")
                          : nullptr;
    HGLOBAL data = found ? LoadResource(spooler, found) : nullptr;
    const DWORD size = found ? SizeofResource(spooler, found) : 0;
    bool written = false;
    if (data && size) {
        FILE* file = fopen(path, "wb");
        if (file) {
            written = fwrite(LockResource(data), 1, size, file) == size;
            written = fclose(file) == 0 && written;
        }
    }
    if (spooler) FreeLibrary(spooler);
    return written;
}

static bool AddDriver(void) {
    DRIVER_INFO_3A driver;
    memset(&driver, 0, sizeof driver);
    driver.cVersion = 3;
    driver.pName = (char*)kDriverName;
    driver.pDriverPath = (char*)kDriverFile;
    driver.pDataFile = (char*)kDescription;
    driver.pConfigFile = (char*)kDriverFile;
    driver.pDefaultDataType = (char*)"RAW";
    return AddPrinterDriverA(nullptr, 3, (BYTE*)&driver) ||
           GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

static bool AddPrinter(void) {
    PRINTER_INFO_2A printer;
    memset(&printer, 0, sizeof printer);
    printer.pPrinterName = (char*)kPrinterName;
    printer.pPortName = (char*)"FILE:";
    printer.pDriverName = (char*)kDriverName;
    printer.pPrintProcessor = (char*)"WinPrint";
    printer.pDatatype = (char*)"RAW";
    HANDLE handle = AddPrinterA(nullptr, 2, (BYTE*)&printer);
    if (handle) ClosePrinter(handle);
    // Wine's spooler may answer with a handle and an error code; the
    // printer counts once a device context can be made for it.
    HDC dc = CreateDCA("WINSPOOL", kPrinterName, nullptr, nullptr);
    if (!dc) return false;
    DeleteDC(dc);
    return SetDefaultPrinterA(kPrinterName) != FALSE;
}

static bool RemovePrinter(void) {
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterA((char*)kPrinterName, &handle, &access)) return true; // not there
    const BOOL removed = DeletePrinter(handle);
    ClosePrinter(handle);
    return removed != FALSE;
}

int main(int argc, char** argv) {
    if (argc > 1 && _stricmp(argv[1], "/remove") == 0) return RemovePrinter() ? 0 : 1;
    if (!WriteDescription()) {
        fprintf(stderr, "add_file_printer: cannot write the printer description\n");
        return 1;
    }
    if (!AddDriver() || !AddPrinter()) {
        fprintf(stderr, "add_file_printer: cannot add the printer \"%s\"\n", kPrinterName);
        return 1;
    }
    printf("printer \"%s\" added: it asks for a file name at every print\n", kPrinterName);
    return 0;
}
