#include "framework/controls/Hooks.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/controls/ControlsScope.h"

namespace {

struct TSkinProbe : TObject {
    String ClassName() const override { return L"TSkinProbe"; }
};

// The suite makes its own scope (its name ends in "Scope").
TEST(HookSubscriptionOutlivingScope, StopsTheProgramNamingItsOwner) {
    EXPECT_DEATH(
        {
            TSkinProbe owner;
            std::unique_ptr<THookSubscription> hook;
            TControlsScope scope;
            hook = std::make_unique<THookSubscription>(hkCbt, &owner, [](THookCall&) {});
        },
        "A hook subscription of TSkinProbe is alive at the end of the controls scope");
}

}  // namespace
