// What the components layer keeps for one run of a program, or for one test: the global roots.
// One scope exists at a time; the application scope (framework/forms/ApplicationScope.h) makes it
// for a program with windows, and code without windows may make its own where it needs roots.
#pragma once

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

private:
    friend void RegisterGlobalRoot(TComponent*);
    friend void UnregisterGlobalRoot(TComponent*);
    friend TComponent* FindGlobalRoot(const String&);

    std::vector<TComponent*> globalRoots_;
};
