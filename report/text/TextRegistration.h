#pragma once

// Enrols the text printables for streaming (and everything below them: bands, printables).
void RegisterReportTextClasses();
