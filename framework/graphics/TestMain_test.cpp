// Start-up of the graphics test programs.
#include <gmock/gmock.h>

#include "framework/graphics/GraphicsRegistration.h"

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    // Registration, as the program's start-up does it: the classes stored descriptions name.
    RegisterGraphicsClasses();
    return RUN_ALL_TESTS();
}
