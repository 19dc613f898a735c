// Start-up of the updater's test programs: registration as the updater does it, then each test
// in an application scope of its own.
#include "framework/forms/ApplicationScope.h"
#include "testing/ScopePerTest.h"
#include "updater/UpdaterRegistration.h"

int main(int argc, char** argv) {
    RegisterUpdaterClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
