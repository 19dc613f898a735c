// Start-up of the app test programs.
#include <gmock/gmock.h>

#include "app/AppRegistration.h"

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    // Registration, as the program's start-up does it: the classes stored descriptions name.
    RegisterAppClasses();
    return RUN_ALL_TESTS();
}
