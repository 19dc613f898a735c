// Folhavida's forms in the class registry (see framework/classes/ClassRegistry.h).
#pragma once

// Registers the framework's entries first. Idempotent; called at start-up by wWinMain and by
// the test mains.
void RegisterAppClasses();
