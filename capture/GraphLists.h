// The filters of a graph and the pins of a filter, as lists of interface references.
#pragma once

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "framework/rtl/InterfaceList.h"

class TFilterList : public TInterfaceList {
public:
    explicit TFilterList(IFilterGraph* graph);
    String ClassName() const override { return L"TFilterList"; }
    // Reads the graph's filters again.
    void Update();
    IBaseFilter* Items(int index) const { return static_cast<IBaseFilter*>(TInterfaceList::Items(index)); }
    IFilterGraph* Graph() const { return graph_.Get(); }

private:
    TComPtr<IFilterGraph> graph_;
};

class TPinList : public TInterfaceList {
public:
    explicit TPinList(IBaseFilter* filter);
    String ClassName() const override { return L"TPinList"; }
    void Update();
    IPin* Items(int index) const { return static_cast<IPin*>(TInterfaceList::Items(index)); }

private:
    TComPtr<IBaseFilter> filter_;
};
