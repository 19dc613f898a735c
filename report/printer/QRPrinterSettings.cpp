#include "report/printer/QRPrinterSettings.h"

void TQRReportPrinterSettings::Publish(TPublisher<TQRReportPrinterSettings>& p) {
    using S = TQRPrinterSettings;
    p.Property(L"Copies", &S::Copies, &S::SetCopies).Default(1);
    p.Property(L"Duplex", &S::Duplex, &S::SetDuplex).Default(false);
    p.Property(L"Orientation", &S::Orientation, &S::SetOrientation).Default(poPortrait);
    p.Property(L"OutputBin", &S::OutputBin, &S::SetOutputBin).Default(TQRBin::Auto);
    p.Property(L"PaperSize", &S::PaperSize, &S::SetPaperSize).Default(TQRPaperSize::Letter);
    p.Property(L"PrinterIndex", &S::PrinterIndex, &S::SetPrinterIndex).Default(-1);
    p.Property(L"Title", &S::Title, &S::SetTitle).Default(L"");
    p.Property(L"FirstPage", &S::FirstPage, &S::SetFirstPage).Default(0);
    p.Property(L"LastPage", &S::LastPage, &S::SetLastPage).Default(0);
    p.Property(L"PrintMetaFile", &S::PrintMetaFile, &S::SetPrintMetaFile).Default(false);
    p.Property(L"UseStandardprinter", &S::UseStandardprinter, &S::SetUseStandardprinter).Default(false);
    p.Property(L"UseExtendedDuplex", &S::UseExtendedDuplex, &S::SetUseExtendedDuplex).Default(false);
    p.Property(L"ExtendedDuplex", &S::ExtendedDuplex, &S::SetExtendedDuplex).Default(0);
    p.Property(L"MemoryLimit", &S::MemoryLimit, &S::SetMemoryLimit).Default(250000);
    p.Property(L"PrintQuality", &S::PrintQuality, &S::SetPrintQuality).Default(0);
    p.Property(L"Collate", &S::Collate, &S::SetCollate).Default(0);
    p.Property(L"ColorOption", &S::ColorOption, &S::SetColorOption).Default(0);
    p.Property(L"UseCustomBinCode", &S::UseCustomBinCode, &S::SetUseCustomBinCode).Default(false);
    p.Property(L"CustomBinCode", &S::CustomBinCode, &S::SetCustomBinCode).Default(0);
    p.Property(L"UseCustomPaperCode", &S::UseCustomPaperCode, &S::SetUseCustomPaperCode).Default(false);
    p.Property(L"CustomPaperCode", &S::CustomPaperCode, &S::SetCustomPaperCode).Default(0);
}
