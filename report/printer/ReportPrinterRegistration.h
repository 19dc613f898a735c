// The report printer family's entries in the class registry (framework/classes/ClassRegistry.h):
// the components a stored description may name.
#pragma once

// Registers the graphics layer's entries first. Idempotent.
void RegisterReportPrinterClasses();
