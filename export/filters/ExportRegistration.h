// The export family's entries in the class registry (framework/classes/ClassRegistry.h): the
// HTML filter component and the export-aware printables, for stored descriptions.
#pragma once

// Registers the bands family's entries first. Idempotent.
void RegisterExportFilterClasses();
