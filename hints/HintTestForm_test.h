// The hint tests' form: an edit with a hint and a THintDesign, read from its stored description
// (HintDesign_test.desc) the way the program's forms are.
#pragma once

#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "hints/HintDesign.h"

class TTestHintForm : public TForm {
    FV_CLASS(TTestHintForm, TForm)
public:
    explicit TTestHintForm(TComponent* owner) : TForm(owner) {
        ReadForm([this] {
            FV_BIND(Edit1);
            FV_BIND(HintDesign1);
        });
    }

    TEdit* Edit1 = nullptr;
    THintDesign* HintDesign1 = nullptr;
};
