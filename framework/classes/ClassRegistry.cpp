#include "framework/classes/ClassRegistry.h"

#include <unordered_map>

#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

std::unordered_map<String, TClass>& Registry() {
    static std::unordered_map<String, TClass> registry;  // keys upper-cased
    return registry;
}

}  // namespace

TClass TObjectClass() {
    static const TClassInfo info{L"TObject", nullptr, nullptr, nullptr};
    return &info;
}

void RegisterClass(TClass cls) {
    if (Registry().emplace(UpperCase(cls->Name), cls).first->second != cls)
        throw EFilerError(Format(L"A class named %s is already registered", {String(cls->Name)}));
}

TClass GetClass(const String& name) {
    auto it = Registry().find(UpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(const String& name) {
    TClass cls = GetClass(name);
    if (cls == nullptr) throw EClassNotFound(Format(L"Class %s not found", {name}));
    return cls;
}
