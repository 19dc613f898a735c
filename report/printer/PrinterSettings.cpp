#include "report/printer/PrinterSettings.h"

#include <algorithm>
#include <limits>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Numeric.h"
#include "report/printer/QRMessages.h"

namespace {

constexpr size_t kMaxDriverName = 63;

// DEVMODE's 16-bit fields take values beyond their range at their nearest end, not wrapped.
short Clamp16(int value) {
    return static_cast<short>(std::clamp<int>(value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max()));
}

// A device length in 0.1 mm; 0 when the device gives no resolution.
int DeviceToTenthsMM(int deviceUnits, int pixelsPerInch) {
    if (pixelsPerInch <= 0) return 0;
    return static_cast<int>(Round(static_cast<Extended>(deviceUnits) / pixelsPerInch * 254));
}

}  // namespace

TPrinterSettings::TPrinterSettings()
    : paperSize_(TQRPaperSize::A4), paperWidth_(QRPaperWidth(paperSize_)), paperLength_(QRPaperLength(paperSize_)) {}

void TPrinterSettings::SetPrinter(TPrinter* printer) {
    printer_ = printer;
    if (printer_ && !printer_->Printers().empty()) ReadFromPrinter();
}

const DEVMODEW* TPrinterSettings::DeviceMode() const {
    return devMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(devMode_.data());
}

DEVMODEW* TPrinterSettings::MutableDeviceMode() {
    return devMode_.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(devMode_.data());
}

// The printer's names and a copy of its DEVMODE; the driver's file name without its folder.
bool TPrinterSettings::ReadDeviceMode() {
    try {
        HGLOBAL unused = nullptr;
        printer_->GetPrinter(device_, driver_, port_, unused);
        devMode_ = printer_->DeviceMode();
        driver_ = ExtractFileName(printer_->DriverPath()).substr(0, kMaxDriverName);
    } catch (const Exception&) {
        devMode_.clear();
        return false;
    }
    return !devMode_.empty();
}

void TPrinterSettings::ReadFromPrinter() {
    if (!printer_) return;
    QRProcessMessages();
    if (!ReadDeviceMode()) return;
    try {
        if (printer_->PrinterIndex() == printerIndexRead_) return;
        bool cancel = false;
        OnGetPrinterSettings(this, cancel, MutableDeviceMode());
        if (cancel) return;
        ReadValues();
        printerIndexRead_ = printer_->PrinterIndex();
    } catch (const Exception&) {
        printer_ = nullptr;
    }
}

void TPrinterSettings::ReadValues() {
    const DEVMODEW& dm = *DeviceMode();
    pixelsPerInchX_ = printer_->DeviceCaps(LOGPIXELSX);
    pixelsPerInchY_ = printer_->DeviceCaps(LOGPIXELSY);
    copies_ = Supports(DM_COPIES) ? dm.dmCopies : 1;
    outputBin_ = Supports(DM_DEFAULTSOURCE) ? QRBinOfCode(dm.dmDefaultSource) : TQRBin::First;
    if (Supports(DM_DUPLEX)) {
        duplex_ = dm.dmDuplex != DMDUP_SIMPLEX;
        extendedDuplex_ = dm.dmDuplex;
    }
    leftOffset_ = DeviceToTenthsMM(printer_->DeviceCaps(PHYSICALOFFSETX), pixelsPerInchX_);
    topOffset_ = DeviceToTenthsMM(printer_->DeviceCaps(PHYSICALOFFSETY), pixelsPerInchY_);
    paperSize_ = Supports(DM_PAPERSIZE) ? QRPaperSizeOfCode(dm.dmPaperSize) : TQRPaperSize::Default;
    // A device that gives no resolution leaves the paper as it was.
    if (pixelsPerInchX_ > 0) paperWidth_ = DeviceToTenthsMM(printer_->DeviceCaps(PHYSICALWIDTH), pixelsPerInchX_);
    if (pixelsPerInchY_ > 0) paperLength_ = DeviceToTenthsMM(printer_->DeviceCaps(PHYSICALHEIGHT), pixelsPerInchY_);
    ReadSupportedPapers();
    printQuality_ = dm.dmPrintQuality;
    collate_ = dm.dmCollate;
    colorOption_ = dm.dmColor;
}

void TPrinterSettings::ReadSupportedPapers() {
    if (const auto codes = printer_->PaperCodes()) {
        supportedPapers_.fill(false);
        for (Word code : *codes) {
            const TQRPaperSize size = QRPaperSizeOfCode(code);
            if (size != TQRPaperSize::Default) supportedPapers_[static_cast<size_t>(size) - 1] = true;
        }
    }
    supportedPapersRead_ = true;
}

void TPrinterSettings::ApplyToPrinter() {
    if (!printer_ || printer_->Printers().empty()) return;
    String device, driver, port;
    HGLOBAL unused = nullptr;
    printer_->GetPrinter(device, driver, port, unused);
    // The printer's current settings, or its driver's defaults when it holds none yet.
    devMode_ = printer_->DeviceMode();
    DEVMODEW* dm = MutableDeviceMode();
    if (!dm) return;  // a driver without settings takes nothing

    dm->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    dm->dmPaperLength = Clamp16(PaperLength());
    dm->dmPaperWidth = Clamp16(PaperWidth());
    if (Supports(DM_PAPERSIZE) && paperSize_ != TQRPaperSize::Default) {
        dm->dmFields |= DM_PAPERSIZE;
        dm->dmPaperSize = Clamp16(useCustomPaperCode_ ? customPaperCode_ : QRPaperCode(paperSize_));
    }
    dm->dmFields |= DM_COPIES;
    dm->dmCopies = Clamp16(copies_);
    if (Supports(DM_DUPLEX)) {
        dm->dmFields |= DM_DUPLEX;
        dm->dmDuplex = Clamp16(extendedDuplex_ != 0 ? extendedDuplex_ : duplex_ ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX);
    }
    dm->dmFields |= DM_DEFAULTSOURCE;
    dm->dmDefaultSource = Clamp16(useCustomBinCode_ ? customBinCode_ : QRBinCode(outputBin_));
    dm->dmFields |= DM_ORIENTATION;
    dm->dmOrientation = orientation_ == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    if (Supports(DM_COLLATE)) dm->dmCollate = Clamp16(collate_);

    bool cancel = false;
    OnApplyPrinterSettings(this, cancel, dm);
    if (!cancel) printer_->SetPrinter(device, driver, port, devMode_);
}

bool TPrinterSettings::Supports(DWORD mask) const {
    const DEVMODEW* dm = DeviceMode();
    return printer_ && dm && (dm->dmFields & mask) == mask;
}

bool TPrinterSettings::TrySetCopies(int copies) {
    if (!Supports(DM_COPIES)) return false;
    copies_ = copies;
    return true;
}

bool TPrinterSettings::TrySetOrientation(TPrinterOrientation orientation) {
    if (!Supports(DM_ORIENTATION)) return false;
    orientation_ = orientation;
    return true;
}

bool TPrinterSettings::TrySetDuplex(bool duplex) {
    if (!Supports(DM_DUPLEX)) return false;
    duplex_ = duplex;
    return true;
}

bool TPrinterSettings::TrySetOutputBin(TQRBin bin) {
    if (!Supports(DM_DEFAULTSOURCE)) return false;
    outputBin_ = bin;
    return true;
}

bool TPrinterSettings::IsPaperSupported(TQRPaperSize size) const {
    const int index = static_cast<int>(size);
    return index >= 1 && index < QRPaperSizeCount && supportedPapers_[static_cast<size_t>(index) - 1];
}

bool TPrinterSettings::TrySetPaperSize(TQRPaperSize size) {
    if (size != TQRPaperSize::Default && !IsPaperSupported(size)) return false;
    paperSize_ = size;
    return true;
}

int TPrinterSettings::PaperWidth() const {
    if (paperSize_ == TQRPaperSize::Default || paperSize_ == TQRPaperSize::Custom) return paperWidth_;
    return QRPaperWidth(paperSize_);
}

int TPrinterSettings::PaperLength() const {
    if (paperSize_ == TQRPaperSize::Default || paperSize_ == TQRPaperSize::Custom) return paperLength_;
    return QRPaperLength(paperSize_);
}

void ResetPrinterDeviceMode(TPrinter& printer) {
    String device, driver, port;
    HGLOBAL unused = nullptr;
    printer.GetPrinter(device, driver, port, unused);
    printer.SetPrinter(device, driver, port, HGLOBAL{nullptr});
}

TQRPaperSize CurrentPrinterPaperSize() {
    try {
        TPrinter& printer = Printer();
        if (printer.Printers().empty()) return TQRPaperSize::A4;
        const std::vector<Byte> bytes = printer.DeviceMode();
        if (bytes.empty()) return TQRPaperSize::A4;
        const auto& dm = *reinterpret_cast<const DEVMODEW*>(bytes.data());
        return (dm.dmFields & DM_PAPERSIZE) ? QRPaperSizeOfCode(dm.dmPaperSize) : TQRPaperSize::Default;
    } catch (const Exception&) {
        return TQRPaperSize::A4;
    }
}
