// Registers the hint component and its hint window (with the forms layer's classes) for stored
// descriptions. Safe to call more than once.
#pragma once

void RegisterHintsClasses();
