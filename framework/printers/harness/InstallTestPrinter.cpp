// Installs a PostScript printer on port FILE: and makes it the default, so that printing tests
// have a printer in a fresh prefix. Safe to run again: an existing printer is only made default.
// The driver is Wine's own PostScript driver with the generic PPD that winspool.drv carries.
#include <cstdio>
#include <string>

#include "framework/rtl/WinApi.h"

#include <winspool.h>

namespace {

const wchar_t kPrinterName[] = L"Folhavida Test Printer";
const wchar_t kDriverName[] = L"Folhavida Test PostScript";

bool PrinterExists() {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, nullptr)) return false;
    ClosePrinter(printer);
    return true;
}

bool Fail(const char* step) {
    std::fprintf(stderr, "InstallTestPrinter: %s failed (error %lu)\n", step, GetLastError());
    return false;
}

bool WriteGenericPpd(std::wstring& path) {
    HMODULE winspool = LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!winspool) return Fail("loading winspool.drv");
    HRSRC resource = FindResourceW(winspool, MAKEINTRESOURCEW(1), L"PPDFILE");
    HGLOBAL loaded = resource ? LoadResource(winspool, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(winspool, resource) : 0;
    if (!data || size == 0) return Fail("finding the generic PPD");

    wchar_t directory[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed))
        return Fail("GetPrinterDriverDirectory");
    path = std::wstring(directory) + L"\\folhavida-generic.ppd";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail("creating the PPD file");
    DWORD written = 0;
    BOOL ok = WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
    if (!ok || written != size) return Fail("writing the PPD file");
    return true;
}

bool Install() {
    std::wstring ppd;
    if (!WriteGenericPpd(ppd)) return false;

    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriverName);
    driver.pEnvironment = nullptr;
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = ppd.data();
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return Fail("AddPrinterDriverEx");

    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kPrinterName);
    info.pPortName = const_cast<wchar_t*>(L"FILE:");
    info.pDriverName = const_cast<wchar_t*>(kDriverName);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
        // Another test program of the same run may have installed it meanwhile.
        return GetLastError() == ERROR_PRINTER_ALREADY_EXISTS || Fail("AddPrinter");
    }
    ClosePrinter(printer);
    return true;
}

}  // namespace

int main() {
    if (!PrinterExists() && !Install()) return 1;
    if (!SetDefaultPrinterW(kPrinterName)) {
        Fail("SetDefaultPrinter");
        return 1;
    }
    std::printf("test printer ready\n");
    return 0;
}
