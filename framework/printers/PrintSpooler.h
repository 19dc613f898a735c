// The operating system's printing services as the printer object uses them. Tests replace it to
// simulate machines with other printers, or none: a printer object takes its spooler from the
// factory in force (CreateSpooler), which is the system's unless a test installed another.
#pragma once

#include <functional>
#include <memory>
#include <optional>
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
    // The paper codes (DEVMODE dmPaperSize values) the driver offers with these settings;
    // nothing when the driver cannot tell.
    virtual std::optional<std::vector<Word>> Papers(const TPrinterInfo& printer, const DEVMODEW* settings) = 0;
    // The full name of the printer's driver file; empty when it cannot be read.
    virtual String DriverPath(const TPrinterInfo& printer) = 0;

    // Work on a device context this spooler created: GDI's own by default. A simulated
    // spooler whose contexts are not printers' answers for them here.
    virtual int DeviceCaps(HDC dc, int index);
    virtual bool StartDoc(HDC dc, const DOCINFOW& doc);
    virtual bool StartPage(HDC dc);
    virtual bool EndPage(HDC dc);
    virtual bool EndDoc(HDC dc);
    virtual void AbortDoc(HDC dc);
};

// The spooler of the running system (winspool).
std::unique_ptr<TPrintSpooler> CreateSystemSpooler();

// The spooler for a new printer object: the system's, or what the installed factory makes.
std::unique_ptr<TPrintSpooler> CreateSpooler();
using TSpoolerFactory = std::function<std::unique_ptr<TPrintSpooler>()>;
// Installs a factory (an empty one restores the system's); returns the previous one.
TSpoolerFactory SetSpoolerFactory(TSpoolerFactory factory);
