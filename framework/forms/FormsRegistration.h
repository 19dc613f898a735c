// The forms layer's entries in the class registry (see framework/classes/ClassRegistry.h).
#pragma once

// Registers the controls layer's entries first. Idempotent; called at start-up by the program's
// main and by the test mains.
void RegisterFormsClasses();
