// Registration of a filter graph in the running object table, where a graph viewer finds it as
// "FilterGraph <pointer> pid <process>".
#pragma once

#include <cstdint>

#include "capture/DirectShow.h"
#include "framework/rtl/System.h"

// The item name for graph in this process ("FilterGraph 0012AB34 pid 1F4").
String GraphRotItemName(const void* graph, std::uint32_t processId);
// Returns the result; cookie receives the registration (0 on failure).
HRESULT RegisterGraphInROT(IUnknown* graph, DWORD& cookie);
HRESULT RevokeGraphFromROT(DWORD cookie);
