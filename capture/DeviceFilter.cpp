#include "capture/DeviceFilter.h"

TFilter::TFilter(TComponent* owner) : TComponent(owner), baseFilter_(std::make_unique<TBaseFilter>()) {}

TFilter::~TFilter() = default;

void TFilter::BeforeDestruction() {
    try {
        AttachFilterGraph(nullptr);
    } catch (...) {
        // Teardown cannot report.
    }
    TComponent::BeforeDestruction();
}

void TFilter::Publish(TPublisher<TFilter>& p) {
    p.Property(L"BaseFilter", &TFilter::BaseFilter);
    p.Property(L"FilterGraph", &TFilter::FilterGraph, &TFilter::SetFilterGraph);
}

void TFilter::AttachFilterGraph(TFilterGraph* graph) { RelinkFilterProvider(this, graph_, graph); }

void TFilter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == graph_) graph_ = nullptr;
}

HRESULT TFilter::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    return filter_ ? filter_->QueryInterface(iid, object) : E_NOINTERFACE;
}

void TFilter::GraphOperation(int operation, int) {
    switch (operation) {
    case 0:
        filter_ = baseFilter_->CreateFilter();
        break;
    case 2:
        if (filter_) filter_->Stop();
        break;
    case 3:
        filter_.Reset();
        break;
    default:
        break;
    }
}
