#include "report/text/TextRegistration.h"

#include "report/bands/BandsRegistration.h"
#include "report/text/QRTextPrintables.h"

void RegisterReportTextClasses() {
    RegisterReportBandsClasses();
    RegisterClasses<TQRLabel, TQRExpr, TQRSysData>();
}
