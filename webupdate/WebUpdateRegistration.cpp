#include "webupdate/WebUpdateRegistration.h"

#include "framework/forms/FormsRegistration.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/WebUpdateInfo.h"

void RegisterWebUpdateClasses() {
    RegisterFormsClasses();
    RegisterClasses<TWebUpdate>();
    RegisterClasses<TWuButtonPanel, TWuPageView, Tfrm_ShowInfoUpdate>();
}
