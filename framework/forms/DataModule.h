// A container of non-visual components (datasets) that several forms share. The application
// owns it as it owns forms; it has no window.
#pragma once

#include "framework/classes/Component.h"

class TDataModule : public TComponent {
    FV_CLASS(TDataModule, TComponent)
public:
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
};
