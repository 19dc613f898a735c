#include "framework/classes/PropertyAccess.h"

#include "framework/classes/Component.h"
#include "framework/classes/Description.h"
#include "framework/classes/Reader.h"
#include "framework/classes/Writer.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"

namespace {

struct TResolved {
    TPersistent* instance;
    const TPropInfo* info;
};

TPersistent* AsPersistent(TObject* instance) {
    auto* persistent = dynamic_cast<TPersistent*>(instance);
    if (persistent == nullptr)
        throw EPropertyError(Format(L"A %s has no published properties", {instance->ClassName()}));
    return persistent;
}

// Follows the dotted path through nested persistents; "Items.Strings" names a string list as
// descriptions do.
TResolved Resolve(TObject* instance, const String& path) {
    TPersistent* target = AsPersistent(instance);
    size_t start = 0;
    for (;;) {
        size_t dot = path.find(L'.', start);
        String name = path.substr(start, dot == String::npos ? String::npos : dot - start);
        const TPropInfo* info = FindPropInfo(target->ClassType(), name);
        if (info == nullptr) throw EPropertyError(Format(L"Property %s does not exist", {name}));
        if (dot == String::npos) return {target, info};
        if (info->Kind == TTypeKind::Strings && SameText(path.substr(dot + 1), L"Strings")) return {target, info};
        if (info->Kind != TTypeKind::Class) throw EPropertyError(Format(L"Invalid property path %s", {path}));
        target = dynamic_cast<TPersistent*>(info->GetObject(target));
        if (target == nullptr) throw EPropertyError(Format(L"Property %s is not assigned", {name}));
        start = dot + 1;
    }
}

// Where references and handlers are looked up, as when the instance's root was read.
TComponent* RootOf(TObject* instance) {
    auto* component = dynamic_cast<TComponent*>(instance);
    if (component == nullptr) return nullptr;
    return component->Owner() != nullptr ? component->Owner() : component;
}

}  // namespace

bool IsPublishedProp(TObject* instance, const String& path) {
    try {
        Resolve(instance, path);
        return true;
    } catch (const EPropertyError&) {
        return false;
    }
}

String GetPropValue(TObject* instance, const String& path) {
    auto [object, info] = Resolve(instance, path);
    std::optional<TValue> value = TWriter(RootOf(instance)).PropertyValue(object, *info);
    if (!value) throw EPropertyError(Format(L"Property %s has no value a description can name", {path}));
    return FormatDescriptionValue(*value);
}

void SetPropValue(TObject* instance, const String& path, const String& value) {
    TPersistent* target = AsPersistent(instance);
    try {
        TPropertyNode property{path, ParseDescriptionValue(value, path), 1};
        TReader(path).ReadSingleProperty(RootOf(instance), target, property);
    } catch (const EParserError& e) {
        throw EPropertyError(Format(L"Invalid value %s for property %s: %s", {value, path, e.Reason()}));
    } catch (const Exception& e) {
        throw EPropertyError(Format(L"Invalid value %s for property %s: %s", {value, path, e.Message()}));
    }
}
