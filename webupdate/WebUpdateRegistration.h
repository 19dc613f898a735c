// The classes of the web update component that stored descriptions name.
#pragma once

void RegisterWebUpdateClasses();
