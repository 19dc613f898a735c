#include "report/printer/ReportPrinterRegistration.h"

#include "framework/graphics/GraphicsRegistration.h"
#include "report/printer/QRPreviewInterface.h"
#include "report/printer/QRPrintDialog.h"

void RegisterReportPrinterClasses() {
    RegisterGraphicsClasses();
    RegisterClasses<TQRPreviewInterface>();
    RegisterClasses<TQRCommonDialog, TQRBasePrintDialog, TQRPrintDialog>();
}
