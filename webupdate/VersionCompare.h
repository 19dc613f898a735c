// Whether the version on the update page is newer than the installed one, in one of three
// formats: dotted integer parts, plain text order, or a decimal number.
#pragma once

#include "framework/classes/Properties.h"
#include "framework/rtl/System.h"

FV_ENUM(TWuVersionFormat, vfStandard, vfString, vfNumber)

// vfStandard compares part by part as many parts as the installed version has (a part that is
// not an integer counts as 0); vfString compares the texts ordinally; vfNumber reads both as
// numbers with "." as the decimal separator and says not newer when either is no number.
bool IsNewerVersion(const String& local, const String& web, TWuVersionFormat format);
