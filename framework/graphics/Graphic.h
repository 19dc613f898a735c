// The common base of pictures that can be drawn on a canvas and stored in a stream.
#pragma once

#include <memory>

#include "framework/classes/Persistent.h"
#include "framework/graphics/Geometry.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/rtl/Streams.h"

class TCanvas;

// Raised for image data that cannot be read and for unsupported picture operations.
FV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
FV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TGraphic : public TPersistent {
    FV_CLASS(TGraphic, TPersistent)
public:
    // A new, empty graphic of the same class.
    virtual std::unique_ptr<TGraphic> NewInstance() const = 0;
    // Copies another graphic's image (or a picture's graphic); raises EConvertError when the
    // classes do not convert.
    void Assign(const TPersistent* source) override;
    void Assign(const TGraphic& source) { Assign(static_cast<const TPersistent*>(&source)); }

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;

    // Draws the image scaled into r on the canvas's DC.
    virtual void Draw(TCanvas& canvas, const TRect& r) = 0;

    // Reading leaves the graphic unchanged when the data is not valid (EInvalidGraphic).
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);
    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    TNotifyEvent OnChange;

protected:
    // Called by Assign with a graphic other than this one.
    virtual void AssignGraphic(const TGraphic& source);
    void Changed();
    [[noreturn]] void AssignError(const TGraphic& source) const { TPersistent::AssignError(&source); }

private:
    bool transparent_ = false;
    bool modified_ = false;
};
