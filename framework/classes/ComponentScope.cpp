#include "framework/classes/ComponentScope.h"

namespace {

TComponentScope* g_current = nullptr;

}  // namespace

TComponentScope::TComponentScope() {
    if (g_current != nullptr) throw EInvalidOperation(L"A component scope exists already");
    g_current = this;
}

TComponentScope::~TComponentScope() {
    while (!globalRoots_.empty()) UnregisterGlobalRoot(globalRoots_.back());
    g_current = nullptr;
}

TComponentScope* TComponentScope::Current() { return g_current; }
