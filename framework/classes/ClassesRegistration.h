// The classes layer's entries in the class registry (see ClassRegistry.h).
#pragma once

// Idempotent; called at start-up by the program's main and by the test mains.
void RegisterClassesClasses();
