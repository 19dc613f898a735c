#include "report/bands/BandsRegistration.h"

#include "report/bands/QRController.h"
#include "report/bands/QRDBImage.h"
#include "report/bands/QRReport.h"
#include "report/printables/PrintablesRegistration.h"
#include "report/printer/ReportPrinterRegistration.h"

void RegisterReportBandsClasses() {
    RegisterReportPrintablesClasses();
    RegisterReportPrinterClasses();
    RegisterClasses<TQRReport, TQRBand, TQRGroup, TQRSubDetail, TQRChildBand>();
    RegisterClasses<TQRDBImage>();
    SelectDesignPalette();
}
