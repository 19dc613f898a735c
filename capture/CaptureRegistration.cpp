#include "capture/CaptureRegistration.h"

#include "capture/DeviceFilter.h"
#include "capture/FilterGraph.h"
#include "capture/SampleGrabber.h"
#include "capture/VideoWindow.h"
#include "framework/controls/ControlsRegistration.h"

void RegisterCaptureClasses() {
    RegisterControlsClasses();
    RegisterClasses<TFilterGraph, TVideoWindow, TSampleGrabber, TFilter>();
}
