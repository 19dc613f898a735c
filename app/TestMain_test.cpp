// Start-up of the app test programs: registration as the program's start-up does it, then each
// test in an application scope of its own.
#include "app/AppRegistration.h"
#include "framework/controls/UiThread.h"
#include "framework/forms/ApplicationScope.h"
#include "testing/ScopePerTest.h"

int main(int argc, char** argv) {
    TComApartment com;
    RegisterAppClasses();
    return RunTestsWithScopePerTest<TApplicationScope>(argc, argv);
}
