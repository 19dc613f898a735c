// Icons: read from .ico data (the largest, deepest image is used) or adopted as an HICON.
#pragma once

#include <memory>
#include <vector>

#include "framework/graphics/GdiHandles.h"
#include "framework/graphics/Graphic.h"

class TIcon : public TGraphic {
    FV_CLASS(TIcon, TGraphic)
public:
    TIcon() = default;

    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TIcon>(); }

    bool Empty() const override { return !handle_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int) override;  // an icon's size comes from its image
    void SetHeight(int) override;

    HICON Handle() const { return handle_.get(); }
    void SetHandle(UniqueIcon icon);
    UniqueIcon ReleaseHandle();

    void Draw(TCanvas& canvas, const TRect& r) override;
    void LoadFromStream(TStream& stream) override;  // reads the rest of the stream
    void SaveToStream(TStream& stream) override;

protected:
    void AssignGraphic(const TGraphic& source) override;

private:
    void BuildFileData();

    UniqueIcon handle_;
    std::vector<Byte> data_;  // the .ico bytes the icon came from or was written as
    int width_ = 0;
    int height_ = 0;
};
