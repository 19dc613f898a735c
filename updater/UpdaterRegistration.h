// The classes of the updater's stored descriptions.
#pragma once

void RegisterUpdaterClasses();
