// TNewDesign: the hint window THintDesign installs. Each hint is sized for the design's style,
// placed at the corner of the cursor that fits on the screen, and drawn once, before the window
// shows, over a copy of the screen under it; painting only copies that image, so the window
// has no frame and no region and still looks shaped, and a repaint never darkens the shadow
// twice. Without a THintDesign on the main form the plain hint shows.
#pragma once

#include <memory>

#include "framework/forms/HintWindow.h"
#include "framework/graphics/Bitmap.h"
#include "hints/HintPlacement.h"

class THintDesign;

class TNewDesign : public THintWindow {
    FV_CLASS(TNewDesign, THintWindow)
public:
    explicit TNewDesign(TComponent* owner);
    ~TNewDesign() override;

    // rect is where the framework would put a plain hint; its size is the text's.
    void ActivateHint(TRect rect, const String& hint) override;
    void WndProc(TMessage& message) override;

    // The first THintDesign among the components of the application's main form, or nullptr.
    static THintDesign* FindHintDesign();
    // The corner the last hint was placed at, after any hand-over.
    THintPosition Corner() const { return corner_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void HidePrevious();
    std::unique_ptr<TBitmap> DrawOverScreen(const THintDesign& design, const THintSize& size, const String& hint);

    THintPosition corner_ = hiTopRight;
    int x_ = 0;
    int y_ = 0;
    // Where the last styled hint showed, until the screen there has been painted again.
    TRect shown_;
    // The hint as it shows, drawn over the screen copy; none while the plain hint shows.
    std::unique_ptr<TBitmap> image_;
};
