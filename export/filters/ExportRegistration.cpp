#include "export/filters/ExportRegistration.h"

#include "export/filters/QRGrDBImage.h"
#include "export/filters/QRGrImage.h"
#include "export/filters/QRHRule.h"
#include "export/filters/QRHTMLFilter.h"
#include "export/filters/QRPDFShape.h"
#include "report/bands/BandsRegistration.h"

void RegisterExportFilterClasses() {
    RegisterReportBandsClasses();
    RegisterClasses<TQRHTMLFilter, TQRHRule, TQRPDFShape, TQRGrImage, TQRGrDBImage>();
}
