#include "export/filters/QRPlacedBox.h"

#include "report/printables/QRPrintable.h"
#include "report/printables/QRReportLinks.h"

TQRPlacedBox PlacedBox(TQRPrintable& control, int xOffset, int yOffset) {
    TQRPlacedBox box;
    box.Report = control.ParentReport();
    if (box.Report == nullptr) return box;
    box.Printer = box.Report->ReportPrinter();
    const TQRPrintableSize& size = *control.Size();
    box.X = size.StoredValue(TQRPrintableSize::iLeft) + xOffset;
    box.Y = size.StoredValue(TQRPrintableSize::iTop) + yOffset;
    box.W = size.StoredValue(TQRPrintableSize::iWidth);
    box.H = size.StoredValue(TQRPrintableSize::iHeight);
    return box;
}
