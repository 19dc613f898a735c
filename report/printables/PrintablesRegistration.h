// The printables family's entries in the class registry (framework/classes/ClassRegistry.h).
#pragma once

// Registers the controls layer's entries first. Idempotent.
void RegisterReportPrintablesClasses();
