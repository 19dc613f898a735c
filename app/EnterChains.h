// Enter-key navigation of the main window: Enter in a field of a chain moves the keyboard focus
// to the next field of that chain; the last field of a chain keeps it.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

// The chains in order, one per tab (or nested tab), each a list of field names: the data fields
// of the tab in table order (DataFields.h).
const std::vector<std::vector<String>>& EnterChains();

// The field that Enter in field moves to; empty for the last field of a chain and for any
// field outside the chains.
String NextFieldOnEnter(const String& field);

// Every field with a successor: these get the Enter-key handler.
std::vector<String> FieldsWithEnterHandler();
