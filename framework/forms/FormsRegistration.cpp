#include "framework/forms/FormsRegistration.h"

#include "framework/controls/ControlsRegistration.h"
#include "framework/forms/Application.h"
#include "framework/forms/DataModule.h"
#include "framework/forms/Dialogs.h"
#include "framework/forms/Form.h"
#include "framework/forms/HintWindow.h"

void RegisterFormsClasses() {
    RegisterControlsClasses();
    RegisterClasses<TCustomForm, TForm>();
    RegisterClasses<THintWindow>();
    RegisterClasses<TDataModule>();
    RegisterClasses<TMessageForm, TOpenDialog, TSaveDialog, TOpenPictureDialog>();
    RegisterClasses<TApplication, TScreen>();
}
