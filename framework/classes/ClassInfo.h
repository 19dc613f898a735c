// The run-time description of a class (its metaclass), one per class. Described classes start at
// TPersistent and declare themselves with FV_CLASS (framework/classes/ClassRegistry.h).
#pragma once

#include "framework/rtl/System.h"

class TPropertyTable;  // a class's published properties and handlers (Properties.h)

struct TClassInfo {
    const wchar_t* Name;
    const TClassInfo* Parent;
    // Creates an instance; owner is the owning component (or collection for collection items).
    // Null for classes that cannot be created by name.
    TObject* (*Factory)(TObject* owner);
    // Fills the class's own published properties and handlers; null when it publishes none.
    void (*Publish)(TPropertyTable& table);

    bool InheritsFrom(const TClassInfo* ancestor) const {
        for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
            if (c == ancestor) return true;
        return false;
    }
};
using TClass = const TClassInfo*;

// The description of TObject (framework/rtl), the root of every class chain.
TClass TObjectClass();
