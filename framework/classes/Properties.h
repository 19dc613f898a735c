// Published properties and handler methods, registered per class, used by streaming and by
// anything that reads or writes a property by name.
//
// A class publishes with a static Publish function; FV_CLASS finds it:
//
//     static void Publish(TPublisher<TPanel>& p) {
//         p.Property(L"Flat", &TPanel::Flat, &TPanel::SetFlat).Default(false);
//         p.Property(L"Font", &TPanel::Font);              // nested persistent: Font.Name
//         p.Event(L"OnClick", &TPanel::OnClick);           // a TMethod data member
//         p.Handler(L"PanelClick", &TPanel::PanelClick);   // bound by name when reading
//     }
#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "framework/classes/ClassInfo.h"
#include "framework/classes/Method.h"
#include "framework/classes/Set.h"
#include "framework/rtl/System.h"

class TStrings;
class TPersistent;
class TComponent;
class TCollection;

enum class TTypeKind {
    Integer,
    Boolean,
    Enumeration,
    Set,
    String,
    Float,
    Color,
    Strings,     // a TStrings object: Items.Strings = ( ... )
    Class,       // a nested persistent: Font.Name = ...
    Component,   // a reference to a component, resolved by name
    Collection,  // Columns = < item ... end >
    Method,      // an event, bound to a handler by name
};

// The identifiers of an enumeration whose values run from 0.
class TEnumInfo {
public:
    explicit TEnumInfo(const wchar_t* commaSeparatedNames);
    int Count() const { return static_cast<int>(names_.size()); }
    const String& Name(int value) const;  // "" when out of range
    int ValueOf(const String& ident) const;  // -1 when unknown; case-insensitive

private:
    std::vector<String> names_;
};

// Declares an enumeration and its identifiers for streaming: FV_ENUM(TAlign, alNone, alTop).
#define FV_ENUM(Name, ...)     \
    enum Name : int { __VA_ARGS__ }; \
    FV_ENUM_NAMES(Name, __VA_ARGS__)
// Identifiers for an enumeration declared elsewhere (values must run from 0 in this order).
#define FV_ENUM_NAMES(Name, ...)                                    \
    inline const TEnumInfo& EnumInfoOf(Name*) {                     \
        static const TEnumInfo info(L"" #__VA_ARGS__);              \
        return info;                                                \
    }

// Colour identifiers (clWindow, ...) are registered by the graphics layer.
void RegisterColorIdent(const String& ident, Int64 color);
bool IdentToColor(const String& ident, Int64& color);
bool ColorToIdent(Int64 color, String& ident);

struct TPropInfo {
    String Name;
    TTypeKind Kind = TTypeKind::Integer;
    const TEnumInfo* Enum = nullptr;             // Enumeration and Set
    const std::type_info* EventType = nullptr;   // Method: the TMethod type
    std::function<Int64(TObject*)> GetOrdinal;   // Integer, Boolean, Enumeration, Set, Color
    std::function<void(TObject*, Int64)> SetOrdinal;
    std::function<String(TObject*)> GetString;
    std::function<void(TObject*, const String&)> SetString;
    std::function<Extended(TObject*)> GetFloat;
    std::function<void(TObject*, Extended)> SetFloat;
    std::function<TObject*(TObject*)> GetObject;  // Strings, Class, Component, Collection
    std::function<void(TObject*, TObject*)> SetObject;  // Component
    std::function<TMethodValue(TObject*)> GetMethod;
    std::function<void(TObject*, const TMethodValue&)> SetMethod;
    std::function<bool(TObject*)> IsStored;       // null: always stored

    bool HasDefault = false;
    Int64 OrdinalDefault = 0;
    Extended FloatDefault = 0;
    String StringDefault;

    // A value equal to the default is not written; without a default every value is written.
    template <class V>
    TPropInfo& Default(const V& value);
    TPropInfo& Stored(bool stored);
    template <class C>
    TPropInfo& Stored(bool (C::*predicate)() const);

    bool IsDefault(TObject* instance) const;
    bool Writable() const;
};

// A handler method a root class offers to the events of its description, by name.
struct THandlerInfo {
    String Name;
    const std::type_info* EventType = nullptr;
    TMethodCode Code;
    void* (*AdjustData)(TObject* root) = nullptr;  // the root as the method's object
};

class TPropertyTable {
public:
    TPropInfo& Add(TPropInfo info);
    void AddHandler(THandlerInfo info);
    const TPropInfo* Find(const String& name) const;
    const THandlerInfo* FindHandler(const String& name) const;
    const std::vector<std::unique_ptr<TPropInfo>>& Properties() const { return properties_; }
    const std::vector<THandlerInfo>& Handlers() const { return handlers_; }

private:
    std::vector<std::unique_ptr<TPropInfo>> properties_;
    std::unordered_map<String, const TPropInfo*> byName_;  // keys upper-cased
    std::vector<THandlerInfo> handlers_;
};

// The class's own table (filled on first use), not its ancestors'.
const TPropertyTable& PublishedTable(TClass cls);
// Searches the class and its ancestors; derived registrations hide inherited ones.
const TPropInfo* FindPropInfo(TClass cls, const String& name);
const THandlerInfo* FindHandler(TClass cls, const String& name);
// The properties of the class and its ancestors, ancestors first, hidden ones left out.
std::vector<const TPropInfo*> PublishedProperties(TClass cls);

// A value that does not fit its property (PropertyAccess.h reads and writes properties by name).
FV_DECLARE_EXCEPTION(EPropertyError, Exception);

namespace fv_detail {

template <class E>
concept HasEnumInfo = requires { EnumInfoOf(static_cast<E*>(nullptr)); };
template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class V>
Int64 ToOrdinal(const V& value) {
    if constexpr (IsSet<V>::value)
        return static_cast<Int64>(value.Bits());
    else
        return static_cast<Int64>(value);
}

template <class V>
V FromOrdinal(Int64 value) {
    if constexpr (IsSet<V>::value) {
        return V::FromBits(static_cast<std::uint64_t>(value));
    } else if constexpr (std::is_same_v<V, bool>) {
        return value != 0;
    } else if constexpr (std::is_enum_v<V>) {
        return static_cast<V>(value);
    } else {
        if (value < static_cast<Int64>(std::numeric_limits<V>::min()) ||
            (value > 0 && static_cast<std::uint64_t>(value) > std::numeric_limits<V>::max()))
            throw EPropertyError(L"Value out of range: " + std::to_wstring(value));
        return static_cast<V>(value);
    }
}

[[noreturn]] void RaiseWrongClass(TObject* value, TClass expected);

}  // namespace fv_detail

template <class T>
class TPublisher {
public:
    explicit TPublisher(TPropertyTable& table) : table_(table) {}

    // Value properties: integers, booleans, FV_ENUM enumerations, TSet of them, String, floats.
    template <class C, class G, class S>
        requires std::is_base_of_v<C, T>
    TPropInfo& Property(const wchar_t* name, G (C::*get)() const, void (C::*set)(S)) {
        using V = std::decay_t<G>;
        static_assert(std::is_same_v<V, std::decay_t<S>>, "getter and setter types differ");
        TPropInfo info;
        info.Name = name;
        if constexpr (std::is_same_v<V, String>) {
            info.Kind = TTypeKind::String;
            info.GetString = [get](TObject* o) { return String((Self(o)->*get)()); };
            info.SetString = [set](TObject* o, const String& v) { (Self(o)->*set)(v); };
        } else if constexpr (std::is_floating_point_v<V>) {
            info.Kind = TTypeKind::Float;
            info.GetFloat = [get](TObject* o) { return static_cast<Extended>((Self(o)->*get)()); };
            info.SetFloat = [set](TObject* o, Extended v) { (Self(o)->*set)(static_cast<V>(v)); };
        } else if constexpr (std::is_pointer_v<V>) {
            using P = std::remove_pointer_t<V>;
            static_assert(std::is_base_of_v<TComponent, P>, "only component references have setters");
            info.Kind = TTypeKind::Component;
            info.GetObject = [get](TObject* o) -> TObject* { return (Self(o)->*get)(); };
            info.SetObject = [set](TObject* o, TObject* v) {
                P* p = dynamic_cast<P*>(v);
                if (v != nullptr && p == nullptr) fv_detail::RaiseWrongClass(v, P::StaticClass());
                (Self(o)->*set)(p);
            };
        } else {
            SetOrdinalKind<V>(info);
            info.GetOrdinal = [get](TObject* o) { return fv_detail::ToOrdinal<V>((Self(o)->*get)()); };
            info.SetOrdinal = [set](TObject* o, Int64 v) {
                (Self(o)->*set)(fv_detail::FromOrdinal<V>(v));
            };
        }
        return table_.Add(std::move(info));
    }

    // Object properties read through their getter: TStrings, nested persistents, collections.
    template <class C, class P>
        requires std::is_base_of_v<C, T>
    TPropInfo& Property(const wchar_t* name, P* (C::*get)() const) {
        TPropInfo info;
        info.Name = name;
        if constexpr (std::is_base_of_v<TStrings, P>)
            info.Kind = TTypeKind::Strings;
        else if constexpr (std::is_base_of_v<TCollection, P>)
            info.Kind = TTypeKind::Collection;
        else {
            static_assert(std::is_base_of_v<TPersistent, P>, "not a persistent class");
            info.Kind = TTypeKind::Class;
        }
        info.GetObject = [get](TObject* o) -> TObject* { return (Self(o)->*get)(); };
        return table_.Add(std::move(info));
    }

    // A colour: an integral value shown as an identifier (clWindow) or a $00BBGGRR number.
    template <class C, class G, class S>
        requires std::is_base_of_v<C, T>
    TPropInfo& ColorProperty(const wchar_t* name, G (C::*get)() const, void (C::*set)(S)) {
        using V = std::decay_t<G>;
        TPropInfo info;
        info.Name = name;
        info.Kind = TTypeKind::Color;
        info.GetOrdinal = [get](TObject* o) { return static_cast<Int64>((Self(o)->*get)()); };
        info.SetOrdinal = [set](TObject* o, Int64 v) {
            // $FF000005 and -16777211 are the same colour
            if (v < std::numeric_limits<std::int32_t>::min() || v > 0xFFFFFFFFLL)
                throw EPropertyError(L"Value out of range: " + std::to_wstring(v));
            (Self(o)->*set)(static_cast<V>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v))));
        };
        return table_.Add(std::move(info));
    }

    // An event: a TMethod data member.
    template <class C, class Sig>
        requires std::is_base_of_v<C, T>
    TPropInfo& Event(const wchar_t* name, TMethod<Sig> C::*field) {
        TPropInfo info;
        info.Name = name;
        info.Kind = TTypeKind::Method;
        info.EventType = &typeid(TMethod<Sig>);
        info.GetMethod = [field](TObject* o) { return (Self(o)->*field).Value(); };
        info.SetMethod = [field](TObject* o, const TMethodValue& v) {
            Self(o)->*field = TMethod<Sig>::FromValue(v);
        };
        return table_.Add(std::move(info));
    }

    // An event held by another object (a part the class owns), read and written through
    // accessors.
    template <class C, class Sig>
        requires std::is_base_of_v<C, T>
    TPropInfo& Event(const wchar_t* name, TMethod<Sig> (C::*get)() const, void (C::*set)(TMethod<Sig>)) {
        TPropInfo info;
        info.Name = name;
        info.Kind = TTypeKind::Method;
        info.EventType = &typeid(TMethod<Sig>);
        info.GetMethod = [get](TObject* o) { return (Self(o)->*get)().Value(); };
        info.SetMethod = [set](TObject* o, const TMethodValue& v) { (Self(o)->*set)(TMethod<Sig>::FromValue(v)); };
        return table_.Add(std::move(info));
    }

    // A handler method events of this class's descriptions may name.
    template <class C, class R, class... A>
        requires std::is_base_of_v<C, T>
    void Handler(const wchar_t* name, R (C::*method)(A...)) {
        using M = TMethod<R(A...)>;
        THandlerInfo info;
        info.Name = name;
        info.EventType = &typeid(M);
        info.Code = M::CodeOf(method);
        info.AdjustData = [](TObject* root) -> void* {
            return static_cast<void*>(static_cast<C*>(static_cast<T*>(root)));
        };
        table_.AddHandler(std::move(info));
    }

private:
    static T* Self(TObject* o) { return static_cast<T*>(o); }

    template <class V>
    static void SetOrdinalKind(TPropInfo& info) {
        if constexpr (std::is_same_v<V, bool>) {
            info.Kind = TTypeKind::Boolean;
        } else if constexpr (fv_detail::IsSet<V>::value) {
            using E = typename V::Element;
            info.Kind = TTypeKind::Set;
            info.Enum = &EnumInfoOf(static_cast<E*>(nullptr));
        } else if constexpr (std::is_enum_v<V>) {
            static_assert(fv_detail::HasEnumInfo<V>, "declare the enumeration with FV_ENUM");
            info.Kind = TTypeKind::Enumeration;
            info.Enum = &EnumInfoOf(static_cast<V*>(nullptr));
        } else {
            static_assert(std::is_integral_v<V>, "unsupported property type");
            info.Kind = TTypeKind::Integer;
        }
    }

    TPropertyTable& table_;
};

template <class V>
TPropInfo& TPropInfo::Default(const V& value) {
    HasDefault = true;
    if constexpr (std::is_floating_point_v<V>)
        FloatDefault = value;
    else if constexpr (std::is_convertible_v<V, String>)
        StringDefault = value;
    else
        OrdinalDefault = fv_detail::ToOrdinal<V>(value);
    return *this;
}

template <class C>
TPropInfo& TPropInfo::Stored(bool (C::*predicate)() const) {
    IsStored = [predicate](TObject* o) { return (static_cast<C*>(o)->*predicate)(); };
    return *this;
}
