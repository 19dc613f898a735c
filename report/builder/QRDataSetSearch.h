// The datasets the expression builder offers: those a form (or any component) owns, directly or
// through the windowed controls it owns (a panel holding a dataset), and those of the
// application's data modules.
#pragma once

#include <memory>

#include "framework/rtl/StringList.h"

class TComponent;

// Each line a dataset's component name, with the dataset as its object: from root (may be
// nullptr) depth first in ownership order, then, with includeDataModules, the datasets each data
// module of the application owns directly.
std::unique_ptr<TStringList> ListDataSets(TComponent* root, bool includeDataModules);
