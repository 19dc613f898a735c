// The name of the prepared-report file a résumé is saved to: the chosen folder and the entered
// name with ".QRP". The entered name is free text, so it is made into one plain file name in that
// folder: it can neither climb out of the folder nor name a device.
#pragma once

#include "framework/rtl/System.h"

// The entered name as a file name (without the extension): path separators, characters a file
// name cannot hold and control characters become "_", a run of dots becomes one "_", leading
// and trailing blanks and dots go, and a device name (CON, NUL, COM1...) gets a leading "_".
// Empty when nothing usable is left.
String SafeFileTitle(const String& enteredName);

// folder + the safe title + ".QRP", with exactly one delimiter after the folder (a drive root
// included). Empty when the title is.
String ResumeFileName(const String& folder, const String& enteredName);
