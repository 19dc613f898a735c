#include "app/AppRegistration.h"

#include "app/Curriculo.h"
#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "app/StyleForm.h"
#include "capture/CaptureRegistration.h"
#include "framework/forms/FormsRegistration.h"
#include "report/text/TextRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    // The report template is read with its labels: the text printables come with the bands.
    RegisterReportTextClasses();
    RegisterCaptureClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
    RegisterClasses<Timpressao, Tfrm_salvar>();
    RegisterClasses<Tfrm_foto>();
    RegisterClasses<TCurriculo>();
}
