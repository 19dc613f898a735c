// Class descriptions and the registry that creates classes by name.
//
// Each class names itself and its parent with one line at the top of its body:
//
//     class TPanel : public TCustomControl {
//         FV_CLASS(TPanel, TCustomControl)
//     public:
//         explicit TPanel(TComponent* owner);
//         ...
//
// which gives it StaticClass(), ClassType(), ClassName() and registers it for FindClass. A class
// constructible from an owner (TComponent*, or TCollection* for collection items) or by default
// can be created by name; a static Publish(TPublisher<Self>&) supplies its published properties.
#pragma once

#include <type_traits>

#include "framework/classes/Properties.h"
#include "framework/rtl/System.h"

FV_DECLARE_EXCEPTION(EFilerError, EStreamError);
FV_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

// Registers a class under its name. Runs during static initialisation, so it never raises: a
// second class under a taken name is refused (false) and the first one stays.
bool RegisterClass(TClass cls);
TClass GetClass(const String& name);   // null when unknown; case-insensitive
TClass FindClass(const String& name);  // raises EClassNotFound "Class %s not found"

namespace fv_detail {

template <class T>
TObject* CreateInstance(TObject* owner) {
    if constexpr (std::is_constructible_v<T, TComponent*>)
        return new T(dynamic_cast<TComponent*>(owner));
    else if constexpr (std::is_constructible_v<T, TCollection*>)
        return new T(dynamic_cast<TCollection*>(owner));
    else
        return new T();
}

template <class T>
constexpr TObject* (*FactoryOf())(TObject*) {
    if constexpr (std::is_abstract_v<T>)
        return nullptr;
    else if constexpr (std::is_constructible_v<T, TComponent*> ||
                       std::is_constructible_v<T, TCollection*> ||
                       std::is_default_constructible_v<T>)
        return &CreateInstance<T>;
    else
        return nullptr;
}

template <class T>
constexpr void (*PublisherOf())(TPropertyTable&) {
    if constexpr (requires(TPublisher<T>& p) { T::Publish(p); })
        return [](TPropertyTable& table) {
            TPublisher<T> publisher(table);
            T::Publish(publisher);
        };
    else
        return nullptr;
}

}  // namespace fv_detail

#define FV_CLASS(Self, ParentClass)                                                       \
public:                                                                                   \
    static TClass StaticClass() {                                                         \
        static const TClassInfo info{L"" #Self, ParentClass::StaticClass(),               \
                                     ::fv_detail::FactoryOf<Self>(),                       \
                                     ::fv_detail::PublisherOf<Self>()};                    \
        return &info;                                                                     \
    }                                                                                     \
    TClass ClassType() const override { return StaticClass(); }                           \
    String ClassName() const override { return L"" #Self; }                               \
                                                                                          \
private:                                                                                  \
    static inline const bool fvRegistered_ = ::RegisterClass(StaticClass());
