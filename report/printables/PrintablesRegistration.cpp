#include "report/printables/PrintablesRegistration.h"

#include "framework/controls/ControlsRegistration.h"
#include "report/printables/QRImage.h"
#include "report/printables/QRShape.h"

void RegisterReportPrintablesClasses() {
    RegisterControlsClasses();
    RegisterClasses<TQRShape, TQRImage>();
}
