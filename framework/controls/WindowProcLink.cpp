#include "framework/controls/WindowProcLink.h"

#include <algorithm>
#include <utility>

// What the control's WindowProc points at while the link lives, and the pass-through after.
// A component, to hear of its control's end while the link owns it.
class TWindowProcLink::TPassage : public TComponent {
public:
    TPassage(TControl& control, THandler handler)
        : TComponent(nullptr), control_(&control), handler_(std::move(handler)) {
        saved_ = control.WindowProc;
        control.WindowProc = Method();
        FreeNotification(&control);
    }

    TWndMethod Method() { return TWndMethod(this, &TPassage::Proc); }
    TControl* Control() const { return control_; }
    bool Linked() const { return linked_; }
    bool Running() const { return calls_ > 0; }
    const TWndMethod& Saved() const { return saved_; }
    void Unlink() {
        linked_ = false;
        handler_ = nullptr;
    }

    void Proc(TMessage& message) {
        struct TCall {
            int& calls;
            explicit TCall(int& c) : calls(c) { ++calls; }
            ~TCall() { --calls; }
            TCall(const TCall&) = delete;
            TCall& operator=(const TCall&) = delete;
        } call(calls_);
        if (!linked_) {
            saved_(message);
            return;
        }
        HWND window = control_ != nullptr && control_->IsWindowed()
                          ? static_cast<TWinControl*>(control_)->HandleIfAllocated()
                          : nullptr;
        // A copy: the handler may end the link (and with it handler_) while it runs.
        const THandler handler = handler_;
        TChainedMessage chained(window, message, &Forward, this);
        handler(chained);
        message.Msg = chained.Msg;
        message.WParam = chained.WParam;
        message.LParam = chained.LParam;
        message.Result = chained.Result;
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == control_) {
            control_ = nullptr;
            Unlink();
        }
    }

private:
    static LRESULT Forward(void* context, TChainedMessage& chained) {
        auto* self = static_cast<TPassage*>(context);
        TMessage message{chained.Msg, chained.WParam, chained.LParam, chained.Result};
        self->saved_(message);
        chained.WParam = message.WParam;
        chained.LParam = message.LParam;
        return message.Result;
    }

    TControl* control_;
    THandler handler_;
    TWndMethod saved_;
    bool linked_ = true;
    int calls_ = 0;
};

TWindowProcLink::TWindowProcLink(TControl& control, THandler handler)
    : passage_(std::make_unique<TPassage>(control, std::move(handler))) {}

TWindowProcLink::~TWindowProcLink() { Remove(); }

bool TWindowProcLink::Attached() const { return passage_ != nullptr && passage_->Linked(); }

void TWindowProcLink::Remove() {
    if (passage_ == nullptr) return;
    std::unique_ptr<TPassage> passage = std::move(passage_);
    TControl* control = passage->Control();
    if (control == nullptr) return;  // the control went first
    passage->Unlink();
    passage->RemoveFreeNotification(control);
    auto& passThroughs = control->windowProcPassThroughs_;
    if (control->WindowProc != passage->Method()) {
        // Another WindowProc calls this one: it stays, passing everything on.
        passThroughs.push_back(std::move(passage));
        return;
    }
    control->WindowProc = passage->Saved();
    if (passage->Running()) passThroughs.push_back(std::move(passage));
    // Pass-throughs that are current again have nothing left to do between the control and the
    // WindowProc they saved.
    for (;;) {
        auto current = std::find_if(passThroughs.begin(), passThroughs.end(), [control](const auto& p) {
            auto* pt = static_cast<TPassage*>(p.get());
            return !pt->Running() && control->WindowProc == pt->Method();
        });
        if (current == passThroughs.end()) break;
        control->WindowProc = static_cast<TPassage*>(current->get())->Saved();
        passThroughs.erase(current);
    }
}
