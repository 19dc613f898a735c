// A list of equally sized images with masks, usually cut from one bitmap strip.
#pragma once

#include "framework/classes/Component.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"

#include <commctrl.h>

class TBitmap;

using UniqueImageList = UniqueHandle<HIMAGELIST, ReleaseBy<&ImageList_Destroy>>;

class TImageList : public TComponent {
    FV_CLASS(TImageList, TComponent)
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;
    static void Publish(TPublisher<TImageList>& p);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size clears the list.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const;

    // Cuts image into Width-wide pieces; pixels of maskColor become transparent. Returns the
    // index of the first image added.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Clear();

    // An index outside the list draws nothing. A disabled image is drawn embossed in the
    // highlight and shadow colours, as the system draws disabled glyphs.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

    HIMAGELIST Handle();

    TNotifyEvent OnChange;

private:
    void Recreate();
    void DrawDisabled(HDC dc, int x, int y, int index);

    int width_ = 16;
    int height_ = 16;
    UniqueImageList handle_;
};
