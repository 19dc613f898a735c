#include "framework/printers/Printer.h"

#include <cstddef>
#include <cstring>

#include "framework/classes/ComponentScope.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"

namespace {
const wchar_t kIndexError[] = L"Printer index out of range";
const wchar_t kPrinting[] = L"Printing in progress";
const wchar_t kNotPrinting[] = L"Printer is not currently printing";

const wchar_t kInvalidDevMode[] = L"Invalid device mode";

// A DEVMODE block holds at least the fields up to the form name, and its public and private
// parts as its header states them.
size_t DevModeBytes(const void* data, size_t size) {
    if (size < offsetof(DEVMODEW, dmFormName)) throw EPrinter(kInvalidDevMode);
    const auto* dm = static_cast<const DEVMODEW*>(data);
    const size_t stated = size_t{dm->dmSize} + dm->dmDriverExtra;
    if (dm->dmSize < offsetof(DEVMODEW, dmFormName) || stated > size) throw EPrinter(kInvalidDevMode);
    return stated;
}

UniqueGlobal GlobalCopy(const void* data, size_t size) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) throw EOutOfMemory(L"Out of memory");
    std::memcpy(GlobalLock(block.get()), data, size);
    GlobalUnlock(block.get());
    return block;
}
}  // namespace

class TPrinter::PrinterCanvas : public TCanvas {
public:
    explicit PrinterCanvas(TPrinter& printer) : printer_(printer) {}
    String ClassName() const override { return L"TPrinterCanvas"; }

protected:
    void CreateHandle() override {
        HDC dc = printer_.Handle();
        Font().SetPixelsPerInch(printer_.DeviceCaps(LOGPIXELSY));
        SetHandle(dc);
    }

private:
    TPrinter& printer_;
};

TPrinter::TPrinter(std::unique_ptr<TPrintSpooler> spooler) : spooler_(std::move(spooler)) {}

TPrinter::~TPrinter() {
    if (printing_ && dc_) spooler_->AbortDoc(dc_.get());
    canvas_.reset();
}

void TPrinter::LoadPrinters() {
    infos_ = spooler_->EnumPrinters();
    names_.clear();
    for (const auto& info : infos_) names_.push_back(info.Device);
    loaded_ = true;
}

const std::vector<String>& TPrinter::Printers() {
    if (!loaded_) LoadPrinters();
    return names_;
}

int TPrinter::PrinterIndex() {
    if (!loaded_) LoadPrinters();
    if (index_ < 0 && !infos_.empty()) {
        String name = spooler_->DefaultPrinter();
        for (size_t i = 0; i < infos_.size(); ++i)
            if (SameText(infos_[i].Device, name)) index_ = static_cast<int>(i);
        if (index_ < 0) index_ = 0;  // a list without a default: the first one
    }
    return index_;
}

void TPrinter::SetPrinterIndex(int index) {
    CheckNotPrinting();
    if (!loaded_) LoadPrinters();
    if (index < -1 || index >= static_cast<int>(infos_.size())) throw EPrinter(kIndexError);
    index_ = index;
    if (index < 0) PrinterIndex();
    devMode_.reset();
    SettingsChanged();
}

void TPrinter::Refresh() {
    CheckNotPrinting();
    String selected = index_ >= 0 && index_ < static_cast<int>(infos_.size()) ? infos_[index_].Device : String();
    LoadPrinters();
    int found = -1;
    for (size_t i = 0; i < infos_.size(); ++i)
        if (!selected.empty() && SameText(infos_[i].Device, selected)) found = static_cast<int>(i);
    if (found != index_ || found < 0) devMode_.reset();
    index_ = found;
    SettingsChanged();
}

int TPrinter::RequireSelection() {
    int index = PrinterIndex();
    if (index < 0) throw EPrinter(SNoDefaultPrinter);
    return index;
}

void TPrinter::GetPrinter(String& device, String& driver, String& port, HGLOBAL& devMode) {
    const TPrinterInfo& info = infos_[RequireSelection()];
    device = info.Device;
    driver = info.Driver;
    port = info.Port;
    if (!devMode_) {
        std::vector<Byte> defaults = spooler_->DefaultDevMode(info);
        if (!defaults.empty()) devMode_ = GlobalCopy(defaults.data(), defaults.size());
    }
    devMode = devMode_.get();
}

void TPrinter::SetPrinter(const String& device, const String& driver, const String& port, HGLOBAL devMode) {
    CheckNotPrinting();
    if (!loaded_) LoadPrinters();
    int found = -1;
    for (size_t i = 0; i < infos_.size(); ++i)
        if (SameText(infos_[i].Device, device)) found = static_cast<int>(i);
    if (found < 0) {
        infos_.push_back({device, driver, port});
        names_.push_back(device);
        found = static_cast<int>(infos_.size()) - 1;
    }
    index_ = found;
    if (!devMode) {
        devMode_.reset();
    } else if (devMode != devMode_.get()) {
        const size_t size = GlobalSize(devMode);
        const void* source = GlobalLock(devMode);
        if (!source) throw EPrinter(kInvalidDevMode);
        UniqueGlobal copy;
        try {
            copy = GlobalCopy(source, DevModeBytes(source, size));
        } catch (...) {
            GlobalUnlock(devMode);
            throw;
        }
        GlobalUnlock(devMode);
        devMode_ = std::move(copy);
    }
    SettingsChanged();
}

void TPrinter::SetPrinter(const String& device, const String& driver, const String& port,
                          std::span<const Byte> devMode) {
    if (devMode.empty()) return SetPrinter(device, driver, port, HGLOBAL{nullptr});
    UniqueGlobal block = GlobalCopy(devMode.data(), DevModeBytes(devMode.data(), devMode.size()));
    SetPrinter(device, driver, port, block.get());
}

std::vector<Byte> TPrinter::DeviceMode() {
    String device, driver, port;
    HGLOBAL block = nullptr;
    GetPrinter(device, driver, port, block);
    if (!block) return {};
    const size_t size = GlobalSize(block);
    const auto* data = static_cast<const Byte*>(GlobalLock(block));
    if (!data) return {};
    std::vector<Byte> copy;
    try {
        copy.assign(data, data + DevModeBytes(data, size));
    } catch (...) {
        GlobalUnlock(block);
        throw;
    }
    GlobalUnlock(block);
    return copy;
}

// The selected printer's DEVMODE, locked while the guard lives (null when there is none).
class TPrinter::DevModeLock {
public:
    explicit DevModeLock(TPrinter& printer) : printer_(printer), devMode_(printer.LockDevMode()) {}
    ~DevModeLock() { printer_.UnlockDevMode(); }
    DevModeLock(const DevModeLock&) = delete;
    DevModeLock& operator=(const DevModeLock&) = delete;
    DEVMODEW* get() const { return devMode_; }

private:
    TPrinter& printer_;
    DEVMODEW* devMode_;
};

int TPrinter::DeviceCaps(int index) { return spooler_->DeviceCaps(Handle(), index); }

std::optional<std::vector<Word>> TPrinter::PaperCodes() {
    const TPrinterInfo info = infos_[RequireSelection()];
    DevModeLock devMode(*this);
    return spooler_->Papers(info, devMode.get());
}

String TPrinter::DriverPath() { return spooler_->DriverPath(infos_[RequireSelection()]); }

DEVMODEW* TPrinter::LockDevMode() {
    String device, driver, port;
    HGLOBAL block = nullptr;
    GetPrinter(device, driver, port, block);
    return block ? static_cast<DEVMODEW*>(GlobalLock(block)) : nullptr;
}

void TPrinter::UnlockDevMode() {
    if (devMode_) GlobalUnlock(devMode_.get());
}

void TPrinter::SettingsChanged() {
    if (!printing_) ReleaseDC();
}

void TPrinter::ReleaseDC() {
    if (canvas_) canvas_->SetHandle(nullptr);
    dc_.reset();
}

void TPrinter::CheckNotPrinting() const {
    if (printing_) throw EPrinter(kPrinting);
}

void TPrinter::CheckPrinting() const {
    if (!printing_) throw EPrinter(kNotPrinting);
}

HDC TPrinter::Handle() {
    if (!dc_) {
        const TPrinterInfo info = infos_[RequireSelection()];
        UniqueDC dc;
        {
            DevModeLock settings(*this);
            dc = spooler_->CreateDC(info, settings.get());
        }
        if (!dc) throw EPrinter(L"Cannot open the printer " + info.Device);
        dc_ = std::move(dc);
    }
    return dc_.get();
}

TCanvas& TPrinter::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<PrinterCanvas>(*this);
    return *canvas_;
}

void TPrinter::BeginDoc() {
    CheckNotPrinting();
    RequireSelection();
    // Wine's spooler writes into an existing output file without truncating it, leaving the
    // tail of an older, longer job behind: start from no file.
    if (!outputFile_.empty() && FileExists(outputFile_) && !DeleteFile(outputFile_))
        throw EPrinter(L"Cannot create file \"" + outputFile_ + L"\". " + SysErrorMessage(GetLastError()));
    // A fresh DC, so that settings changed in the DEVMODE block since the last one apply.
    ReleaseDC();
    HDC dc = Handle();
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title_.c_str();
    doc.lpszOutput = outputFile_.empty() ? nullptr : outputFile_.c_str();
    if (!spooler_->StartDoc(dc, doc)) throw EPrinter(L"Cannot start printing: " + SysErrorMessage(GetLastError()));
    if (!spooler_->StartPage(dc)) {
        spooler_->AbortDoc(dc);
        throw EPrinter(L"Cannot start a page: " + SysErrorMessage(GetLastError()));
    }
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    Canvas().Refresh();
}

void TPrinter::NewPage() {
    CheckPrinting();
    spooler_->EndPage(dc_.get());
    spooler_->StartPage(dc_.get());
    ++pageNumber_;
    Canvas().Refresh();
}

void TPrinter::EndDoc() {
    CheckPrinting();
    HDC dc = dc_.get();
    Canvas().Refresh();
    printing_ = false;
    const bool ended = spooler_->EndPage(dc) && spooler_->EndDoc(dc);
    ReleaseDC();
    if (!ended) throw EPrinter(L"Printing failed: " + SysErrorMessage(GetLastError()));
}

void TPrinter::Abort() {
    CheckPrinting();
    spooler_->AbortDoc(dc_.get());
    printing_ = false;
    aborted_ = true;
    ReleaseDC();
}

int TPrinter::Copies() {
    DEVMODEW* dm = LockDevMode();
    int copies = dm && (dm->dmFields & DM_COPIES) ? dm->dmCopies : 1;
    UnlockDevMode();
    return copies;
}

void TPrinter::SetCopies(int copies) {
    CheckNotPrinting();
    DEVMODEW* dm = LockDevMode();
    if (!dm) throw EPrinter(L"The printer has no device settings");
    dm->dmFields |= DM_COPIES;
    dm->dmCopies = static_cast<short>(copies < 1 ? 1 : copies);
    UnlockDevMode();
    SettingsChanged();
}

TPrinterOrientation TPrinter::Orientation() {
    DEVMODEW* dm = LockDevMode();
    bool landscape = dm && (dm->dmFields & DM_ORIENTATION) && dm->dmOrientation == DMORIENT_LANDSCAPE;
    UnlockDevMode();
    return landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    CheckNotPrinting();
    DEVMODEW* dm = LockDevMode();
    if (!dm) throw EPrinter(L"The printer has no device settings");
    dm->dmFields |= DM_ORIENTATION;
    dm->dmOrientation = orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    UnlockDevMode();
    SettingsChanged();
}

int TPrinter::PageWidth() { return DeviceCaps(HORZRES); }
int TPrinter::PageHeight() { return DeviceCaps(VERTRES); }

namespace {
// The application scope's: a printer chosen or set up in one scope is not the next one's.
std::unique_ptr<TPrinter>& PrinterSlot() { return ScopeObject<std::unique_ptr<TPrinter>>(); }
}  // namespace

TPrinter& Printer() {
    auto& slot = PrinterSlot();
    if (!slot) slot = std::make_unique<TPrinter>();
    return *slot;
}

std::unique_ptr<TPrinter> SetPrinterObject(std::unique_ptr<TPrinter> printer) {
    auto previous = std::move(PrinterSlot());
    PrinterSlot() = std::move(printer);
    return previous;
}
