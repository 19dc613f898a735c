// Reading and writing a published property by name, in the syntax of stored descriptions and by
// the same rules: a value is what would follow "Name =" in a description ('text'#13#10'more',
// 12, $0000FF, 1.5, alClient, [fsBold, fsItalic], clRed, ('line' 'line'), a component's name or
// nil), read through the description reader's setter and written by the writer's. A component
// reference resolves in the instance's root (its owner, or itself when it has none) and then
// among the global roots; an event names one of that root's handlers. path may be dotted
// ("Font.Name", "Items.Strings"). Errors raise EPropertyError naming the property.
#pragma once

#include "framework/classes/Properties.h"

String GetPropValue(TObject* instance, const String& path);
void SetPropValue(TObject* instance, const String& path, const String& value);
bool IsPublishedProp(TObject* instance, const String& path);
