// TQRHRule: a horizontal rule across the control at half its height. An HTML export gets it as a
// rule of its own; other filters get nothing from it.
#pragma once

#include <memory>

#include "report/printables/QRPrintable.h"

class TQRHRule : public TQRPrintable {
    FV_CLASS(TQRHRule, TQRPrintable)
public:
    explicit TQRHRule(TComponent* owner);
    ~TQRHRule() override;
    static void Publish(TPublisher<TQRHRule>& p);

    void PrintAt(int xOffset, int yOffset) override;

    int VertAdjust() const { return vertAdjust_; }
    void SetVertAdjust(int value) { vertAdjust_ = value; }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const TBrush* value) { brush_->Assign(value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(const TPen* value) { pen_->Assign(value); }

protected:
    void Paint() override;

private:
    void StyleChanged(TObject*) { Invalidate(); }

    int vertAdjust_ = 0;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
};

// Whether the filter writes rules of its own (the HTML document filter).
bool FilterTakesRules(const TQRExportFilter* filter);
