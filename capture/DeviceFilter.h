// TFilter puts the filter of one stored device moniker (TBaseFilter) into a TFilterGraph. The
// device changes through a new moniker followed by deactivating and reactivating the graph.
#pragma once

#include <memory>

#include "capture/ComPtr.h"
#include "capture/FilterGraph.h"
#include "capture/PersistentMemory.h"

class TFilter : public TComponent, public IFilterProvider {
    FV_CLASS(TFilter, TComponent)
public:
    explicit TFilter(TComponent* owner);
    ~TFilter() override;
    static void Publish(TPublisher<TFilter>& p);

    TBaseFilter* BaseFilter() const { return baseFilter_.get(); }
    TFilterGraph* FilterGraph() const { return graph_; }
    void SetFilterGraph(TFilterGraph* graph) { AttachFilterGraph(graph); }
    void AttachFilterGraph(TFilterGraph* graph);

    IBaseFilter* ProvidedFilter() override { return filter_.Get(); }
    String ProviderName() override { return Name(); }
    void GraphOperation(int operation, int parameter) override;
    HRESULT QueryInterface(REFIID iid, void** object);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void BeforeDestruction() override;

private:
    TFilterGraph* graph_ = nullptr;
    std::unique_ptr<TBaseFilter> baseFilter_;
    TComPtr<IBaseFilter> filter_;
};
