#include "framework/classes/Properties.h"

#include <map>

#include "framework/classes/Component.h"
#include "framework/rtl/Format.h"
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
