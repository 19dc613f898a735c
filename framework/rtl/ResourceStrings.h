// Process-wide table of numbered message texts, so each module registers its own strings once.
#pragma once

#include <initializer_list>
#include <utility>

#include "framework/rtl/System.h"

// Later registrations of the same number replace earlier ones.
void RegisterResourceStrings(std::initializer_list<std::pair<int, const wchar_t*>> strings);
String LoadResString(int id);  // empty for an unknown number
