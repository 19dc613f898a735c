#include "framework/printers/PrintSpooler.h"

#include <cstddef>

#include <winspool.h>

namespace {

class PrinterHandle {
public:
    explicit PrinterHandle(const String& name) {
        if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle_, nullptr)) handle_ = nullptr;
    }
    ~PrinterHandle() { if (handle_) ClosePrinter(handle_); }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

String OrEmpty(const wchar_t* text) { return text ? String(text) : String(); }

class SystemSpooler : public TPrintSpooler {
public:
    std::vector<TPrinterInfo> EnumPrinters() override {
        const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        DWORD needed = 0, count = 0;
        EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
        std::vector<TPrinterInfo> printers;
        if (needed == 0) return printers;
        std::vector<Byte> buffer(needed);
        if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return printers;
        auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            printers.push_back({OrEmpty(info[i].pPrinterName), OrEmpty(info[i].pDriverName), OrEmpty(info[i].pPortName)});
        return printers;
    }

    String DefaultPrinter() override {
        DWORD size = 0;
        GetDefaultPrinterW(nullptr, &size);
        if (size == 0) return {};
        String name(size, L'\0');
        if (!GetDefaultPrinterW(name.data(), &size)) return {};
        name.resize(wcslen(name.c_str()));
        return name;
    }

    std::vector<Byte> DefaultDevMode(const TPrinterInfo& printer) override {
        PrinterHandle handle(printer.Device);
        if (!handle.get()) return {};
        auto* device = const_cast<wchar_t*>(printer.Device.c_str());
        LONG size = DocumentPropertiesW(nullptr, handle.get(), device, nullptr, nullptr, 0);
        if (size < static_cast<LONG>(offsetof(DEVMODEW, dmFormName))) return {};
        std::vector<Byte> devMode(static_cast<size_t>(size));
        if (DocumentPropertiesW(nullptr, handle.get(), device, reinterpret_cast<DEVMODEW*>(devMode.data()), nullptr,
                                DM_OUT_BUFFER) != IDOK)
            return {};
        return devMode;
    }

    HDC CreateDC(const TPrinterInfo& printer, const DEVMODEW* settings) override {
        // GDI finds a printer's driver by the device name.
        return CreateDCW(nullptr, printer.Device.c_str(), nullptr, settings);
    }
};

}  // namespace

std::unique_ptr<TPrintSpooler> CreateSystemSpooler() { return std::make_unique<SystemSpooler>(); }
