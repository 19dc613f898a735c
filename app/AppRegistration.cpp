#include "app/AppRegistration.h"

#include "app/MainForm.h"
#include "app/Splash.h"
#include "framework/forms/FormsRegistration.h"
#include "report/bands/BandsRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    RegisterReportBandsClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
}
