// Start-up of Folhavida: the splash shows its progress while the program's windows are created
// in a fixed order.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

// The forms created, each by one call, while the splash shows Progress.
struct TStartUpStage {
    int Progress;
    std::vector<std::function<void()>> Forms;
};

// The program's windows in creation order; the first one becomes the main window.
std::vector<TStartUpStage> FolhavidaStartUpStages();

// Shows the splash, runs the stages, shows 99 and frees the splash, also when a creation fails
// (the failure then propagates).
void RunStartUp(const std::vector<TStartUpStage>& stages);
