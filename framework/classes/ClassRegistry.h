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
// which gives it StaticClass(), ClassType() and ClassName(). A class constructible from an owner
// (TComponent*, or TCollection* for collection items) or by default can be created by name; a
// static Publish(TPublisher<Self>&) supplies its published properties.
//
// Creation by name (stored descriptions) finds only registered classes. Each layer registers its
// classes in one list, called at start-up by the program's main and by the test mains:
//
//     void RegisterControlsClasses() {    // framework/controls/ControlsRegistration.cpp
//         RegisterGraphicsClasses();      // the layer below first
//         RegisterClasses<TPanel, TBevel, TImage>();  // one line per header
//     }
//
// A new class that a description may name gets its entry in its layer's list; the test that
// reads every stored description the program ships fails while one is missing.
#pragma once

#include <type_traits>

#include "framework/classes/Properties.h"
#include "framework/rtl/System.h"

FV_DECLARE_EXCEPTION(EFilerError, EStreamError);
FV_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

// Registers a class under its name; registering it again does nothing. Raises EFilerError
// "A class named %s is already registered" when another class holds the name.
void RegisterClass(TClass cls);
template <class... T>
void RegisterClasses() {
    (RegisterClass(T::StaticClass()), ...);
}
TClass GetClass(const String& name);   // null when unknown; case-insensitive
TClass FindClass(const String& name);  // raises EClassNotFound "Class %s not found"

namespace fv_detail {

// Dependent on Owner, so that it is compiled where TComponent and TCollection are complete.
template <class Owner>
Owner* OwnerAs(TObject* owner) {
    return dynamic_cast<Owner*>(owner);
}

template <class T>
TObject* CreateInstance(TObject* owner) {
    if constexpr (std::is_constructible_v<T, TComponent*>)
        return new T(OwnerAs<TComponent>(owner));
    else if constexpr (std::is_constructible_v<T, TCollection*>)
        return new T(OwnerAs<TCollection>(owner));
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
private:
