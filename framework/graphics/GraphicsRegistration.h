// The graphics layer's entries in the class registry (see framework/classes/ClassRegistry.h)
// and its colour identifiers for stored descriptions.
#pragma once

// Registers the classes layer's entries first. Idempotent; called at start-up by the program's
// main and by the test mains.
void RegisterGraphicsClasses();
