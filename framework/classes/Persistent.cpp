#include "framework/classes/Persistent.h"

#include "framework/rtl/Format.h"

TClass TPersistent::StaticClass() {
    static const TClassInfo info{L"TPersistent", TObjectClass(), ::fv_detail::FactoryOf<TPersistent>(),
                                 ::fv_detail::PublisherOf<TPersistent>()};
    return &info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    String sourceName = source != nullptr ? source->ClassName() : String(L"nil");
    throw EConvertError(Format(L"Cannot assign a %s to a %s", {sourceName, ClassName()}));
}

String TPersistent::GetNamePath() const {
    String result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        String ownerPath = owner->GetNamePath();
        if (!ownerPath.empty()) result = ownerPath + L"." + result;
    }
    return result;
}

void TPersistent::DefineProperties(TFiler&) {}
