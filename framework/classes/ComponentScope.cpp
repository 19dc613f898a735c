#include "framework/classes/ComponentScope.h"

namespace {

TComponentScope* g_current = nullptr;

}  // namespace

TComponentScope::TComponentScope() {
    if (g_current != nullptr) throw EInvalidOperation(L"A component scope exists already");
    g_current = this;
}

TComponentScope::~TComponentScope() {
    // Last made first: an object may use one made before it while it goes.
    while (!objects_.empty()) {
        std::unique_ptr<void, void (*)(void*)> object = std::move(objects_.back().Object);
        objects_.pop_back();
        object.reset();
    }
    while (!globalRoots_.empty()) UnregisterGlobalRoot(globalRoots_.back());
    g_current = nullptr;
}

TComponentScope* TComponentScope::Current() { return g_current; }
