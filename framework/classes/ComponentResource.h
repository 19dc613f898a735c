// Descriptions compiled into the program as RCDATA resources named after the root class.
#pragma once

#include "framework/rtl/ProgramResources.h"
#include "framework/rtl/System.h"

class TComponent;

// Reads the RCDATA resource resourceName of the running program into root; raises
// EResNotFound "Resource %s not found" when there is none, EParserError on a bad description.
void ReadComponentResource(TComponent* root, const String& resourceName);
