#include "updater/MessageWindow.h"

#include "framework/controls/ExtCtrls.h"

TForm_Message* Form_Message = nullptr;

TForm_Message::TForm_Message(TComponent* owner) : TForm(owner) {
    ReadForm([this] { FV_BIND(panel_message); });
}

TForm_Message::~TForm_Message() = default;
