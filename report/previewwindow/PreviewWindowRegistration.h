#pragma once

// Registers the engine's window classes (the layers below first) and makes the standard preview
// window the one a report printer opens.
void RegisterReportPreviewWindowClasses();
