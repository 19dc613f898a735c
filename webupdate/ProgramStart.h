// Starting a program by its full path, without the shell and without a command interpreter: the
// arguments reach the program as its command line and nothing in them is run.
#pragma once

#include "framework/rtl/System.h"

// False when the program could not be started (not found, not a program of this system).
bool StartProgram(const String& program, const String& arguments);
