// Replacing a file as a whole: the new contents go into a temporary file in the same folder,
// which then takes the target's place. A failure leaves the target as it was.
#pragma once

#include "framework/rtl/System.h"

// Creates an empty, uniquely named file (prefix "QRP") in the folder of target; raises
// EFCreateError when the folder cannot take it.
String CreateTempFileBeside(const String& target);
// Moves source onto target, replacing it; raises EFCreateError naming target on failure.
void ReplaceFileWith(const String& source, const String& target);
