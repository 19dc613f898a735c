#include "report/printer/QRPrintDialog.h"

void TQRCommonDialog::Publish(TPublisher<TQRCommonDialog>& p) {
    p.Property(L"Ctl3D", &TQRCommonDialog::Ctl3D, &TQRCommonDialog::SetCtl3D).Default(true);
    p.Property(L"HelpContext", &TQRCommonDialog::HelpContext, &TQRCommonDialog::SetHelpContext).Default(0);
    p.Event(L"OnClose", &TQRCommonDialog::OnClose);
    p.Event(L"OnShow", &TQRCommonDialog::OnShow);
}

void TQRPrintDialog::Publish(TPublisher<TQRPrintDialog>& p) {
    using D = TQRPrintDialog;
    p.Property(L"FromPage", &D::FromPage, &D::SetFromPage).Default(0);
    p.Property(L"ToPage", &D::ToPage, &D::SetToPage).Default(0);
    p.Property(L"MinPage", &D::MinPage, &D::SetMinPage).Default(0);
    p.Property(L"MaxPage", &D::MaxPage, &D::SetMaxPage).Default(0);
    p.Property(L"Options", &D::Options, &D::SetOptions).Default(TQRPrintDialogOptions{});
    p.Property(L"PrintToFile", &D::PrintToFile, &D::SetPrintToFile).Default(false);
    p.Property(L"PrintRange", &D::PrintRange, &D::SetPrintRange).Default(prAllPages);
    p.Property(L"Collate", &D::Collate, &D::SetCollate).Default(0);
    p.Property(L"Copies", &D::Copies, &D::ChangeCopies).Default(0);
    p.Property(L"PrintQuality", &D::PrintQuality, &D::SetPrintQuality).Default(0);
    p.Property(L"ColorOption", &D::ColorOption, &D::SetColorOption).Default(0);
    p.Property(L"OutputBin", &D::OutputBin, &D::SetOutputBin).Default(0);
    p.Property(L"PaperSize", &D::PaperSize, &D::SetPaperSize).Default(0);
    p.Property(L"Paperwidth", &D::Paperwidth, &D::SetPaperwidth).Default(Extended{0});
    p.Property(L"Paperlength", &D::Paperlength, &D::SetPaperlength).Default(Extended{0});
    p.Property(L"Orientation", &D::Orientation, &D::SetOrientation).Default(poPortrait);
    p.Property(L"Duplex", &D::Duplex, &D::SetDuplex).Default(false);
    p.Property(L"DuplexCode", &D::DuplexCode, &D::SetDuplexCode).Default(0);
}

void TQRPrintDialog::ChangeCopies(int value) {
    copies_ = value;
    TPrinter& printer = PrinterObject();
    if (printer.Printers().empty()) return;  // nothing to hold the count yet
    try {
        printer.SetCopies(value);
    } catch (const EPrinter&) {
        // a driver without settings keeps no copy count
    }
}

DWORD TQRPrintDialog::Flags() const {
    DWORD flags = printRange_ == prSelection ? PD_SELECTION : printRange_ == prPageNums ? PD_PAGENUMS : 0;
    if (collate_ != 0) flags |= PD_COLLATE;
    if (!options_.Contains(poPrintToFile)) flags |= PD_HIDEPRINTTOFILE;
    if (!options_.Contains(poPageNums)) flags |= PD_NOPAGENUMS;
    if (!options_.Contains(poSelection)) flags |= PD_NOSELECTION;
    if (options_.Contains(poDisablePrintToFile)) flags |= PD_DISABLEPRINTTOFILE;
    if (printToFile_) flags |= PD_PRINTTOFILE;
    if (options_.Contains(poHelp)) flags |= PD_SHOWHELP;
    if (!options_.Contains(poWarning)) flags |= PD_NOWARNING;
    return flags;
}

bool TQRPrintDialog::Execute() {
    TPrinter& printer = PrinterObject();
    TPrintDialogData data;
    HGLOBAL unused = nullptr;
    printer.GetPrinter(data.Device, data.Driver, data.Port, unused);
    const String driver = data.Driver, port = data.Port;
    data.DevMode = printer.DeviceMode();
    data.Flags = Flags();
    data.FromPage = fromPage_;
    data.ToPage = toPage_;
    data.MinPage = minPage_;
    data.MaxPage = maxPage_;
    data.Copies = copies_ > 0 ? copies_ : 1;
    data.HelpContext = HelpContext();
    data.OnShow = [this] { OnShow(this); };
    data.OnClose = [this] { OnClose(this); };
    if (!ExecutePrintDialog(data)) return false;
    TakeChoices(data, driver, port);
    return true;
}

// The printer object takes the chosen printer by its name, with the driver and port names it
// had, and the chosen settings; the properties take the choices.
void TQRPrintDialog::TakeChoices(const TPrintDialogData& data, const String& driver, const String& port) {
    TPrinter& printer = PrinterObject();
    printer.SetPrinter(data.Device, driver, port, data.DevMode);
    printToFile_ = (data.Flags & PD_PRINTTOFILE) != 0;
    printRange_ = (data.Flags & PD_SELECTION) ? prSelection : (data.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
    fromPage_ = data.FromPage;
    toPage_ = data.ToPage;
    ChangeCopies(data.Copies == 1 ? printer.Copies() : data.Copies);
    if (data.DevMode.size() < offsetof(DEVMODEW, dmFormName)) return;
    const auto& dm = *reinterpret_cast<const DEVMODEW*>(data.DevMode.data());
    deviceModeFields_ = dm.dmFields;
    outputBin_ = dm.dmDefaultSource;
    paperSize_ = dm.dmPaperSize;
    paperWidth_ = dm.dmPaperWidth;
    paperLength_ = dm.dmPaperLength;
    orientation_ = dm.dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait;
    printQuality_ = dm.dmPrintQuality;
    colorOption_ = dm.dmColor;
    duplexCode_ = dm.dmDuplex;
    duplex_ = dm.dmDuplex != DMDUP_SIMPLEX;
    collate_ = dm.dmCollate;
}
