#pragma once

// Registers the capture components for stored descriptions (and the layers below).
void RegisterCaptureClasses();
