// Data compiled into the running program as RCDATA resources (stored descriptions, pictures).
#pragma once

#include <string_view>
#include <vector>

#include "framework/rtl/System.h"

FV_DECLARE_EXCEPTION(EResNotFound, Exception);

// The bytes of the program's RCDATA resource name; raises EResNotFound "Resource %s not found"
// when there is none. The memory belongs to the program's image and lives as long as it.
std::string_view ProgramRcData(const String& name);
// The names of the program's RCDATA resources (named ones only, not numbered ones).
std::vector<String> ProgramRcDataNames();
