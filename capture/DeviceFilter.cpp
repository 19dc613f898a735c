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

void TFilter::AttachFilterGraph(TFilterGraph* graph) {
    if (graph == graph_) return;
    if (graph_ != nullptr) {
        graph_->RemoveProvider(this);
        graph_->RemoveFreeNotification(this);
    }
    graph_ = graph;
    if (graph_ != nullptr) {
        graph_->FreeNotification(this);
        graph_->AddProvider(this);
    }
}

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
