#include "app/AppRegistration.h"

#include "app/MainForm.h"
#include "app/Splash.h"
#include "framework/forms/FormsRegistration.h"

void RegisterAppClasses() {
    RegisterFormsClasses();
    RegisterClasses<TForm1>();
    RegisterClasses<Tsplash, Tsobre>();
}
