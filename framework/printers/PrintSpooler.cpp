#include "framework/printers/PrintSpooler.h"

#include <cstddef>

#include <winspool.h>

namespace {

using UniquePrinterHandle = UniqueHandle<HANDLE, ReleaseBy<&ClosePrinter>>;

// The printer opened by name; empty when it cannot be opened.
UniquePrinterHandle OpenPrinterByName(const String& name) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &handle, nullptr)) return {};
    return UniquePrinterHandle(handle);
}

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
        const UniquePrinterHandle handle = OpenPrinterByName(printer.Device);
        if (!handle) return {};
        auto* device = const_cast<wchar_t*>(printer.Device.c_str());
        LONG size = DocumentPropertiesW(nullptr, handle.get(), device, nullptr, nullptr, 0);
        if (size < static_cast<LONG>(offsetof(DEVMODEW, dmFormName))) return {};
        std::vector<Byte> devMode(static_cast<size_t>(size));
        if (DocumentPropertiesW(nullptr, handle.get(), device, reinterpret_cast<DEVMODEW*>(devMode.data()), nullptr,
                                DM_OUT_BUFFER) != IDOK)
            return {};
        return devMode;
    }

    UniqueDC CreateDC(const TPrinterInfo& printer, const DEVMODEW* settings) override {
        // GDI finds a printer's driver by the device name.
        return UniqueDC(CreateDCW(nullptr, printer.Device.c_str(), nullptr, settings));
    }

    std::optional<std::vector<Word>> Papers(const TPrinterInfo& printer, const DEVMODEW* settings) override {
        const wchar_t* device = printer.Device.c_str();
        const wchar_t* port = printer.Port.c_str();
        const int count = DeviceCapabilitiesW(device, port, DC_PAPERS, nullptr, settings);
        if (count < 0) return std::nullopt;
        std::vector<Word> codes(static_cast<size_t>(count));
        if (count > 0 && DeviceCapabilitiesW(device, port, DC_PAPERS, reinterpret_cast<wchar_t*>(codes.data()),
                                             settings) != count)
            return std::nullopt;
        return codes;
    }

    String DriverPath(const TPrinterInfo& printer) override {
        const UniquePrinterHandle handle = OpenPrinterByName(printer.Device);
        if (!handle) return {};
        DWORD needed = 0;
        GetPrinterDriverW(handle.get(), nullptr, 2, nullptr, 0, &needed);
        if (needed < sizeof(DRIVER_INFO_2W)) return {};
        std::vector<Byte> buffer(needed);
        if (!GetPrinterDriverW(handle.get(), nullptr, 2, buffer.data(), needed, &needed)) return {};
        return OrEmpty(reinterpret_cast<const DRIVER_INFO_2W*>(buffer.data())->pDriverPath);
    }
};

TSpoolerFactory& FactorySlot() {
    static TSpoolerFactory factory;
    return factory;
}

}  // namespace

int TPrintSpooler::DeviceCaps(HDC dc, int index) { return GetDeviceCaps(dc, index); }
bool TPrintSpooler::StartDoc(HDC dc, const DOCINFOW& doc) { return StartDocW(dc, &doc) > 0; }
bool TPrintSpooler::StartPage(HDC dc) { return ::StartPage(dc) > 0; }
bool TPrintSpooler::EndPage(HDC dc) { return ::EndPage(dc) > 0; }
bool TPrintSpooler::EndDoc(HDC dc) { return ::EndDoc(dc) > 0; }
void TPrintSpooler::AbortDoc(HDC dc) { ::AbortDoc(dc); }

std::unique_ptr<TPrintSpooler> CreateSystemSpooler() { return std::make_unique<SystemSpooler>(); }

std::unique_ptr<TPrintSpooler> CreateSpooler() {
    const TSpoolerFactory& factory = FactorySlot();
    return factory ? factory() : CreateSystemSpooler();
}

TSpoolerFactory SetSpoolerFactory(TSpoolerFactory factory) {
    TSpoolerFactory previous = std::move(FactorySlot());
    FactorySlot() = std::move(factory);
    return previous;
}
