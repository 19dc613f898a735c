#include "app/AppRegistration.h"

#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "app/StyleForm.h"
#include "capture/CaptureRegistration.h"
#include "framework/forms/FormsRegistration.h"
#include "report/bands/BandsRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    RegisterReportBandsClasses();
    RegisterCaptureClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
    RegisterClasses<Timpressao, Tfrm_salvar>();
    RegisterClasses<Tfrm_foto>();
}
