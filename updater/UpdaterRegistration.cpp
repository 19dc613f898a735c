#include "updater/UpdaterRegistration.h"

#include "updater/MainWindow.h"
#include "updater/MessageWindow.h"
#include "webupdate/WebUpdateRegistration.h"

void RegisterUpdaterClasses() {
    RegisterWebUpdateClasses();
    RegisterClasses<Tform_MainWindow, TForm_Message>();
}
