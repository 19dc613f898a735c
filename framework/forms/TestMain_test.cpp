// Start-up of the forms test programs.
#include <gmock/gmock.h>

#include "framework/forms/FormsRegistration.h"
#include "testing/ControlTestSupport.h"

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    // Registration, as the program's start-up does it: the classes stored descriptions name.
    RegisterFormsClasses();
    RegisterControlTestClasses();
    return RUN_ALL_TESTS();
}
