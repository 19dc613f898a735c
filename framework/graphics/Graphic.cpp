#include "framework/graphics/Graphic.h"

#include "framework/graphics/Picture.h"

void TGraphic::Assign(const TPersistent* source) {
    if (source == this) return;
    if (auto* graphic = dynamic_cast<const TGraphic*>(source)) return AssignGraphic(*graphic);
    if (auto* picture = dynamic_cast<const TPicture*>(source); picture && picture->Graphic())
        return AssignGraphic(*picture->Graphic());
    TPersistent::Assign(source);
}

void TGraphic::AssignGraphic(const TGraphic& source) { AssignError(source); }

void TGraphic::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::SetModified(bool modified) {
    if (modified) {
        Changed();
    } else {
        modified_ = false;
    }
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}
