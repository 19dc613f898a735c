#include "framework/classes/ClassesRegistration.h"

#include "framework/classes/Collection.h"
#include "framework/classes/Component.h"

void RegisterClassesClasses() {
    RegisterClasses<TPersistent>();
    RegisterClasses<TCollectionItem, TCollection>();
    RegisterClasses<TComponent>();
}
