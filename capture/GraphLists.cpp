#include "capture/GraphLists.h"

TFilterList::TFilterList(IFilterGraph* graph) : graph_(TComPtr<IFilterGraph>::Share(graph)) { Update(); }

void TFilterList::Update() {
    Clear();
    if (!graph_) return;
    TComPtr<IEnumFilters> filters;
    if (FAILED(graph_->EnumFilters(filters.Put())) || !filters) return;
    TComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Put(), nullptr) == S_OK) Add(filter.Get());
}

TPinList::TPinList(IBaseFilter* filter) : filter_(TComPtr<IBaseFilter>::Share(filter)) { Update(); }

void TPinList::Update() {
    Clear();
    if (!filter_) return;
    TComPtr<IEnumPins> pins;
    if (FAILED(filter_->EnumPins(pins.Put())) || !pins) return;
    TComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) Add(pin.Get());
}
