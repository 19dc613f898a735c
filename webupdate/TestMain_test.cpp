// Start-up of the web update test programs: registration as the updater does it, then each test
// in an application scope of its own.
#include "framework/forms/ApplicationScope.h"
#include "testing/ScopePerTest.h"
#include "webupdate/WebUpdateRegistration.h"

int main(int argc, char** argv) {
    RegisterWebUpdateClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
