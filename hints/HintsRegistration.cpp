#include "hints/HintsRegistration.h"

#include "framework/forms/FormsRegistration.h"
#include "hints/HintDesign.h"
#include "hints/NewDesign.h"

void RegisterHintsClasses() {
    RegisterFormsClasses();
    RegisterClasses<THintDesign, TNewDesign>();
}
