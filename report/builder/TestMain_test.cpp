// Start-up of the builder's tests: each test in an application scope of its own, which the data
// modules belong to.
#include "framework/forms/ApplicationScope.h"
#include "framework/forms/FormsRegistration.h"
#include "testing/ControlTestSupport.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    RegisterFormsClasses();
    RegisterControlTestClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
