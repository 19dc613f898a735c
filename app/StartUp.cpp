#include "app/StartUp.h"

#include <memory>

#include "app/Curriculo.h"
#include "app/MainForm.h"
#include "app/PhotoForm.h"
#include "app/SaveForm.h"
#include "app/Splash.h"
#include "app/StyleForm.h"

std::vector<TStartUpStage> FolhavidaStartUpStages() {
    // The windows of later parts of the program take their places here: the second template
    // (Tcurriculo2), the update-check window (Tform_MainWindow) and the wait-message window
    // (Tform_Message) after Tfrm_salvar.
    return {
        {25,
         {
             [] { Application().CreateForm(Form1); },
             [] { Application().CreateForm(sobre); },
             [] { Application().CreateForm(impressao); },
             [] { Application().CreateForm(frm_salvar); },
         }},
        {50,
         {
             [] {
                 // Without capture (no sample grabber on this system) the program runs on
                 // without its webcam form, having said why.
                 try {
                     Application().CreateForm(frm_foto);
                 } catch (...) {
                     frm_foto = nullptr;
                     Application().HandleException(nullptr);
                 }
             },
         }},
        // The report template is no window: the application owns it without making it a form.
        {75, {[] { Curriculo = new TCurriculo(&Application()); }}},
    };
}

void RunStartUp(const std::vector<TStartUpStage>& stages) {
    // The splash is the one window the application does not own.
    auto splash = std::make_unique<Tsplash>(nullptr);
    splash->Show();
    for (const TStartUpStage& stage : stages) {
        splash->ShowProgress(stage.Progress);
        for (const auto& create : stage.Forms) create();
    }
    // The value may never be drawn: the splash goes right after.
    splash->ShowProgress(99, false);
}
