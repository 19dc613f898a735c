#include "app/AppRegistration.h"

#include "app/Curriculo.h"
#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "app/StyleForm.h"
#include "capture/CaptureRegistration.h"
#include "export/filters/ExportRegistration.h"
#include "export/pdf/QRPDFFilter.h"
#include "framework/forms/FormsRegistration.h"
#include "hints/HintsRegistration.h"
#include "report/previewwindow/PreviewWindowRegistration.h"
#include "report/text/TextRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    // The report template is read with its labels: the text printables come with the bands.
    RegisterReportTextClasses();
    RegisterReportPreviewWindowClasses();
    // The template holds the PDF and HTML writers' components, which enrol them for Save.
    RegisterExportFilterClasses();
    RegisterReportPDFClasses();
    RegisterCaptureClasses();
    // The main window holds the hint component.
    RegisterHintsClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
    RegisterClasses<Timpressao, Tfrm_salvar>();
    RegisterClasses<Tfrm_foto>();
    RegisterClasses<TCurriculo>();
}
