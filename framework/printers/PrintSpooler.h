// The operating system's printing services as the printer object uses them. Tests replace it to
// simulate machines with other printers, or none.
#pragma once

#include <memory>
#include <vector>

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/System.h"
#include "framework/rtl/WinApi.h"

struct TPrinterInfo {
    String Device;  // the printer's name
    String Driver;
    String Port;
};

class TPrintSpooler {
public:
    virtual ~TPrintSpooler() = default;
    virtual std::vector<TPrinterInfo> EnumPrinters() = 0;
    // The default printer's name; empty when there is none.
    virtual String DefaultPrinter() = 0;
    // The driver's default DEVMODE (with its private part); empty when the driver gives none.
    virtual std::vector<Byte> DefaultDevMode(const TPrinterInfo& printer) = 0;
    // A device context for the printer with these settings (nullptr: the driver's defaults);
    // empty on failure.
    virtual UniqueDC CreateDC(const TPrinterInfo& printer, const DEVMODEW* settings) = 0;
};

// The spooler of the running system (winspool).
std::unique_ptr<TPrintSpooler> CreateSystemSpooler();
