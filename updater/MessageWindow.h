// The wait window: a borderless panel with one line of text, shown while the page is read.
#pragma once

#include "framework/forms/Forms.h"

class TPanel;

class TForm_Message : public TForm {
    FV_CLASS(TForm_Message, TForm)
public:
    explicit TForm_Message(TComponent* owner);
    ~TForm_Message() override;

    TPanel* panel_message = nullptr;
};

extern TForm_Message* Form_Message;
