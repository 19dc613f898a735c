// TPersistent: objects that can be assigned to one another and stored in descriptions.
#pragma once

#include "framework/classes/ClassRegistry.h"

class TFiler;

// The root of the described classes: its description's parent is TObject's.
class TPersistent : public TObject {
public:
    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    String ClassName() const override { return L"TPersistent"; }
    bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

    // Copies source into this object; raises EConvertError "Cannot assign a %s to a %s" when
    // neither class knows how.
    virtual void Assign(const TPersistent* source);
    // The dotted path naming this object for messages ("Form1.Button1.Font").
    virtual String GetNamePath() const;

    // Values stored in a format of their own, beside the published properties.
    virtual void DefineProperties(TFiler& filer);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
