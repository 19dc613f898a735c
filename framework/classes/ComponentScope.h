// What the components layer keeps for one run of a program, or for one test: the global roots,
// and the objects the layers above keep for the whole run (the printer object, the clipboard,
// the export filter library; see ScopeObject below). One scope exists at a time; the application
// scope (framework/forms/ApplicationScope.h) makes it for a program with windows, and code
// without windows may make its own where it needs roots.
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Component.h"

class TComponentScope {
public:
    // Raises EInvalidOperation when a scope exists already.
    TComponentScope();
    // Roots still registered are let go of, not freed: they are owned elsewhere.
    ~TComponentScope();
    TComponentScope(const TComponentScope&) = delete;
    TComponentScope& operator=(const TComponentScope&) = delete;

    // The scope in force, or null.
    static TComponentScope* Current();

    // This scope's object of type T, made (value-initialised) on first use.
    template <class T>
    T& Object() {
        static const char key = 0;  // one per T
        for (const TObjectSlot& slot : objects_)
            if (slot.Key == &key) return *static_cast<T*>(slot.Object.get());
        std::unique_ptr<void, void (*)(void*)> made(new T(), [](void* object) { delete static_cast<T*>(object); });
        objects_.push_back({&key, std::move(made)});
        return *static_cast<T*>(objects_.back().Object.get());
    }

private:
    struct TObjectSlot {
        const void* Key;
        std::unique_ptr<void, void (*)(void*)> Object;
    };

    friend void RegisterGlobalRoot(TComponent*);
    friend void UnregisterGlobalRoot(TComponent*);
    friend TComponent* FindGlobalRoot(const String&);

    std::vector<TComponent*> globalRoots_;
    std::vector<TObjectSlot> objects_;
};

// An object the whole run shares (the printer object, the clipboard, settings a layer keeps):
// it belongs to the scope in force, so it goes with the scope (last made first) and the next
// scope starts with a fresh one; nothing one test leaves in it reaches the next. Code that runs
// without any scope gets one object per process.
template <class T>
T& ScopeObject() {
    if (TComponentScope* scope = TComponentScope::Current()) return scope->Object<T>();
    static T processWide{};
    return processWide;
}
