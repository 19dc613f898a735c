#include "app/AppRegistration.h"

#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/Splash.h"
#include "capture/CaptureRegistration.h"
#include "framework/forms/FormsRegistration.h"
#include "report/bands/BandsRegistration.h"
#include "report/previewwindow/PreviewWindowRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    RegisterReportBandsClasses();
    RegisterReportPreviewWindowClasses();
    RegisterCaptureClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
    RegisterClasses<Tfrm_foto>();
}
