// Where a printable lands on the page for one print: its stored box (0.1 mm) moved by the band's
// offset, with the report printer that turns it into device units. The export-aware printables
// all start their printing from it.
#pragma once

#include "framework/rtl/System.h"

class IQRReport;
class TQRPrintable;
class TQRPrinter;

struct TQRPlacedBox {
    IQRReport* Report = nullptr;    // null when the control is on no report
    TQRPrinter* Printer = nullptr;  // null as well when the report has no printer
    Extended X = 0, Y = 0, W = 0, H = 0;
};

TQRPlacedBox PlacedBox(TQRPrintable& control, int xOffset, int yOffset);
