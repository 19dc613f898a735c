// The report family's entries in the class registry (framework/classes/ClassRegistry.h): the
// report and band classes a stored description may name; and the start-up of the family.
#pragma once

// Registers the printables' and report printer's entries first, and chooses the design palette.
// Idempotent.
void RegisterReportBandsClasses();
