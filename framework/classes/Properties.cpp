#include "framework/classes/Properties.h"

#include <map>

#include "framework/classes/Component.h"
#include "framework/classes/Description.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/StringUtils.h"

// ---- enumerations and colours ----

TEnumInfo::TEnumInfo(const wchar_t* commaSeparatedNames) {
    String name;
    for (const wchar_t* p = commaSeparatedNames;; ++p) {
        if (*p == L',' || *p == L'\0') {
            names_.push_back(Trim(name));
            name.clear();
            if (*p == L'\0') break;
        } else {
            name += *p;
        }
    }
}

const String& TEnumInfo::Name(int value) const {
    static const String empty;
    return value >= 0 && value < Count() ? names_[static_cast<size_t>(value)] : empty;
}

int TEnumInfo::ValueOf(const String& ident) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (SameText(names_[i], ident)) return static_cast<int>(i);
    return -1;
}

namespace {

// Keyed by the colour's 32 bits: $FF000005 and -16777211 are the same colour.
struct TColorIdents {
    std::map<String, Int64> byIdent;  // upper-cased
    std::map<std::uint32_t, String> byColor;
};

TColorIdents& ColorIdents() {
    static TColorIdents idents;
    return idents;
}

}  // namespace

void RegisterColorIdent(const String& ident, Int64 color) {
    ColorIdents().byIdent[UpperCase(ident)] = color;
    ColorIdents().byColor.emplace(static_cast<std::uint32_t>(color), ident);
}

bool IdentToColor(const String& ident, Int64& color) {
    auto& map = ColorIdents().byIdent;
    auto it = map.find(UpperCase(ident));
    if (it == map.end()) return false;
    color = it->second;
    return true;
}

bool ColorToIdent(Int64 color, String& ident) {
    auto& map = ColorIdents().byColor;
    auto it = map.find(static_cast<std::uint32_t>(color));
    if (it == map.end()) return false;
    ident = it->second;
    return true;
}

// ---- property descriptions ----

TPropInfo& TPropInfo::Stored(bool stored) {
    IsStored = [stored](TObject*) { return stored; };
    return *this;
}

bool TPropInfo::IsDefault(TObject* instance) const {
    if (!HasDefault) return false;
    switch (Kind) {
    case TTypeKind::String:
        return GetString(instance) == StringDefault;
    case TTypeKind::Float:
        return GetFloat(instance) == FloatDefault;
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
    case TTypeKind::Color:
        return GetOrdinal(instance) == OrdinalDefault;
    default:
        return false;
    }
}

bool TPropInfo::Writable() const {
    return SetOrdinal || SetString || SetFloat || SetObject || SetMethod;
}

TPropInfo& TPropertyTable::Add(TPropInfo info) {
    properties_.push_back(std::make_unique<TPropInfo>(std::move(info)));
    TPropInfo* added = properties_.back().get();
    byName_[UpperCase(added->Name)] = added;
    return *added;
}

void TPropertyTable::AddHandler(THandlerInfo info) {
    handlers_.push_back(std::move(info));
}

const TPropInfo* TPropertyTable::Find(const String& name) const {
    auto it = byName_.find(UpperCase(name));
    return it == byName_.end() ? nullptr : it->second;
}

const THandlerInfo* TPropertyTable::FindHandler(const String& name) const {
    for (const THandlerInfo& h : handlers_)
        if (SameText(h.Name, name)) return &h;
    return nullptr;
}

const TPropertyTable& PublishedTable(TClass cls) {
    static std::map<TClass, std::unique_ptr<TPropertyTable>> tables;
    auto it = tables.find(cls);
    if (it != tables.end()) return *it->second;
    auto table = std::make_unique<TPropertyTable>();
    if (cls->Publish != nullptr) cls->Publish(*table);
    return *tables.emplace(cls, std::move(table)).first->second;
}

const TPropInfo* FindPropInfo(TClass cls, const String& name) {
    for (TClass c = cls; c != nullptr; c = c->Parent)
        if (const TPropInfo* info = PublishedTable(c).Find(name)) return info;
    return nullptr;
}

const THandlerInfo* FindHandler(TClass cls, const String& name) {
    for (TClass c = cls; c != nullptr; c = c->Parent)
        if (const THandlerInfo* info = PublishedTable(c).FindHandler(name)) return info;
    return nullptr;
}

std::vector<const TPropInfo*> PublishedProperties(TClass cls) {
    std::vector<TClass> chain;
    for (TClass c = cls; c != nullptr; c = c->Parent) chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> result;
    for (TClass c : chain)
        for (const auto& prop : PublishedTable(c).Properties())
            if (FindPropInfo(cls, prop->Name) == prop.get()) result.push_back(prop.get());
    return result;
}

void fv_detail::RaiseWrongClass(TObject* value, TClass expected) {
    throw EPropertyError(Format(L"%s is not a %s", {value->ClassName(), String(expected->Name)}));
}

// ---- access by name ----

namespace {

struct TResolved {
    TObject* instance;
    const TPropInfo* info;
};

// Plain objects of the rtl (string lists) publish nothing: their class is TObject's.
TClass ClassOf(TObject* instance) {
    auto* persistent = dynamic_cast<TPersistent*>(instance);
    return persistent != nullptr ? persistent->ClassType() : TObjectClass();
}

TResolved Resolve(TObject* instance, const String& path) {
    size_t start = 0;
    for (;;) {
        size_t dot = path.find(L'.', start);
        String name = path.substr(start, dot == String::npos ? String::npos : dot - start);
        const TPropInfo* info = FindPropInfo(ClassOf(instance), name);
        if (info == nullptr)
            throw EPropertyError(Format(L"Property %s does not exist", {name}));
        if (dot == String::npos) return {instance, info};
        if (info->Kind != TTypeKind::Class)
            throw EPropertyError(Format(L"Invalid property path %s", {path}));
        instance = info->GetObject(instance);
        if (instance == nullptr)
            throw EPropertyError(Format(L"Property %s is not assigned", {name}));
        start = dot + 1;
    }
}

[[noreturn]] void InvalidValue(const TPropInfo& info, const String& value) {
    throw EPropertyError(Format(L"Invalid value '%s' for property %s", {value, info.Name}));
}

TComponent* FindReferenced(TObject* instance, const String& name) {
    size_t dot = name.find(L'.');
    if (dot != String::npos) {
        TComponent* root = FindGlobalRoot(name.substr(0, dot));
        return root != nullptr ? root->FindComponent(name.substr(dot + 1)) : nullptr;
    }
    auto* component = dynamic_cast<TComponent*>(instance);
    TComponent* owner = component != nullptr ? component->Owner() : nullptr;
    if (owner != nullptr) {
        if (TComponent* found = owner->FindComponent(name)) return found;
        if (SameText(owner->Name(), name)) return owner;
    }
    return FindGlobalRoot(name);
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
    switch (info->Kind) {
    case TTypeKind::Integer:
        return IntToStr(info->GetOrdinal(object));
    case TTypeKind::Boolean:
        return info->GetOrdinal(object) != 0 ? L"True" : L"False";
    case TTypeKind::Enumeration:
        return info->Enum->Name(static_cast<int>(info->GetOrdinal(object)));
    case TTypeKind::Set: {
        auto bits = static_cast<std::uint64_t>(info->GetOrdinal(object));
        String result = L"[";
        for (int i = 0; i < info->Enum->Count(); ++i) {
            if ((bits >> i & 1) == 0) continue;
            if (result.size() > 1) result += L", ";
            result += info->Enum->Name(i);
        }
        return result + L"]";
    }
    case TTypeKind::String:
        return info->GetString(object);
    case TTypeKind::Float:
        return FloatToDescriptionText(info->GetFloat(object));
    case TTypeKind::Color: {
        Int64 color = info->GetOrdinal(object);
        String ident;
        if (ColorToIdent(color, ident)) return ident;
        return L"$" + IntToHex(static_cast<std::uint32_t>(color), 8);
    }
    case TTypeKind::Strings:
        return static_cast<TStrings*>(info->GetObject(object))->Text();
    case TTypeKind::Component: {
        auto* c = static_cast<TComponent*>(info->GetObject(object));
        return c != nullptr ? c->Name() : String();
    }
    default:
        throw EPropertyError(Format(L"Property %s has no text value", {info->Name}));
    }
}

void SetPropValue(TObject* instance, const String& path, const String& value) {
    auto [object, info] = Resolve(instance, path);
    if (!info->Writable() && info->Kind != TTypeKind::Strings)
        throw EPropertyError(Format(L"Property %s is read-only", {info->Name}));
    switch (info->Kind) {
    case TTypeKind::Integer: {
        Int64 v;
        if (!TryStrToInt64(Trim(value), v)) InvalidValue(*info, value);
        info->SetOrdinal(object, v);
        break;
    }
    case TTypeKind::Boolean:
        if (SameText(Trim(value), L"True"))
            info->SetOrdinal(object, 1);
        else if (SameText(Trim(value), L"False"))
            info->SetOrdinal(object, 0);
        else
            InvalidValue(*info, value);
        break;
    case TTypeKind::Enumeration: {
        int v = info->Enum->ValueOf(Trim(value));
        if (v < 0) InvalidValue(*info, value);
        info->SetOrdinal(object, v);
        break;
    }
    case TTypeKind::Set: {
        String list = Trim(value);
        if (!list.empty() && list.front() == L'[' && list.back() == L']')
            list = list.substr(1, list.size() - 2);
        std::uint64_t bits = 0;
        size_t start = 0;
        while (start <= list.size()) {
            size_t comma = list.find(L',', start);
            String ident = Trim(list.substr(start, comma == String::npos ? String::npos : comma - start));
            if (!ident.empty()) {
                int v = info->Enum->ValueOf(ident);
                if (v < 0 || v >= 64) InvalidValue(*info, value);
                bits |= std::uint64_t{1} << v;
            }
            if (comma == String::npos) break;
            start = comma + 1;
        }
        info->SetOrdinal(object, static_cast<Int64>(bits));
        break;
    }
    case TTypeKind::String:
        info->SetString(object, value);
        break;
    case TTypeKind::Float: {
        Extended v;
        if (!DescriptionTextToFloat(Trim(value), v)) InvalidValue(*info, value);
        info->SetFloat(object, v);
        break;
    }
    case TTypeKind::Color: {
        Int64 v;
        if (!IdentToColor(Trim(value), v) && !TryStrToInt64(Trim(value), v)) InvalidValue(*info, value);
        info->SetOrdinal(object, v);
        break;
    }
    case TTypeKind::Strings:
        static_cast<TStrings*>(info->GetObject(object))->SetText(value);
        break;
    case TTypeKind::Component: {
        String name = Trim(value);
        TComponent* target = nullptr;
        if (!name.empty() && !SameText(name, L"nil")) {
            target = FindReferenced(object, name);
            if (target == nullptr) InvalidValue(*info, value);
        }
        info->SetObject(object, target);
        break;
    }
    default:
        throw EPropertyError(Format(L"Property %s cannot be set from text", {info->Name}));
    }
}
