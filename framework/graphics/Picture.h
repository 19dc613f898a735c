// A container for any kind of graphic, chosen by file extension when loading, and its stored form.
#pragma once

#include <functional>
#include <memory>

#include "framework/graphics/Graphic.h"

class TBitmap;

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

class TPicture : public TPersistent {
    FV_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // The held graphic; nullptr when empty. The picture owns it.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of graphic (same class); nullptr empties the picture.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; a graphic of another kind (or none) is replaced by an empty bitmap.
    TBitmap& Bitmap();

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // From a picture or a graphic; nullptr empties the picture.
    void Assign(const TPersistent* source) override;
    void Assign(const TPicture& source) { SetGraphic(source.Graphic()); }
    void Assign(const TGraphic& source) { SetGraphic(&source); }

    // The graphic class comes from the extension; a file that cannot be read raises and leaves
    // the current graphic in place.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    // Stored form: the graphic's class name (length byte, then ANSI text) followed by its data.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    // Stores the graphic as the binary property "Data".
    void DefineProperties(TFiler& filer) override;

    TNotifyEvent OnChange;

    // Extensions without the dot, case-insensitive; a later registration replaces an earlier one.
    static void RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory);
    static void UnregisterFileFormat(const String& extension);
    // The graphic class for an extension, or nullptr.
    static std::unique_ptr<TGraphic> CreateForExtension(const String& extension);
    // A graphic class by name ("TBitmap"): any registered class derived from TGraphic, or nullptr.
    static std::unique_ptr<TGraphic> CreateByClassName(const String& className);

private:
    void Adopt(std::unique_ptr<TGraphic> graphic);
    void Changed();
    void GraphicChanged(TObject*) { Changed(); }

    std::unique_ptr<TGraphic> graphic_;
};
