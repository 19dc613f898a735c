// Application, Screen, forms and hint windows in one include.
//
// How a form class declares its components and handlers. The description resource "TForm1"
// (RCDATA, see framework/classes/ComponentResource.h) holds `object Form1: TForm1 ... end` with
// the components and `OnClick = Button1Click` lines:
//
//     class TForm1 : public TForm {
//         FV_CLASS(TForm1, TForm)
//     public:
//         explicit TForm1(TComponent* owner) : TForm(owner) {
//             // Reads "TForm1", binds the fields by name, then runs OnCreate.
//             ReadForm([this] {
//                 FV_BIND(Button1);
//                 FV_BIND(edt_nome);
//             });
//         }
//         // The handlers the description may name, registered once per class.
//         static void Publish(TPublisher<TForm1>& p) {
//             p.Handler(L"FormCreate", &TForm1::FormCreate);
//             p.Handler(L"Button1Click", &TForm1::Button1Click);
//             p.Handler(L"edt_nomeKeyPress", &TForm1::edt_nomeKeyPress);
//         }
//
//         // Components: owned by the form (it frees them), pointed at after reading.
//         TButton* Button1 = nullptr;
//         TEdit* edt_nome = nullptr;
//
//     private:
//         void FormCreate(TObject* sender);
//         void Button1Click(TObject* sender);
//         void edt_nomeKeyPress(TObject* sender, wchar_t& key);  // key = 0 consumes it
//     };
//
//     TForm1* Form1 = nullptr;
//     ...
//     RestrictDllSearchPath();  // first: libraries loaded by name come from the system or program folder
//     RegisterAppClasses();     // app/AppRegistration.cpp lists TForm1, as each layer lists its classes
//     TApplicationScope scope;  // see ApplicationScope.h
//     Application().Initialize();
//     Application().SetTitle(L"Folhavida 3.0");
//     Application().CreateForm(Form1);  // the first form created is the main form
//     Application().Run();
//
// ReadForm must be called from the most-derived constructor (only there is the object already
// of its final class). Handlers are member functions with the event's exact signature. A form
// that is not created through Application can be owned by any component, by a unique_ptr or be a
// TLocal<T> when it is never released (Release and caFree free the form). However it ends,
// OnDestroy runs first, on the whole form (see framework/classes/Component.h).
#pragma once

#include "framework/forms/Application.h"
#include "framework/forms/ApplicationScope.h"
#include "framework/forms/Form.h"
#include "framework/forms/HintWindow.h"
#include "framework/rtl/DllSearchPath.h"
