#include "framework/graphics/Picture.h"

#include <vector>

#include "framework/classes/Filer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Metafile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"

namespace {

struct FileFormat {
    String extension;
    String description;
    TGraphicFactory factory;
};

template <typename T>
TGraphicFactory FactoryOf() {
    return [] { return std::unique_ptr<TGraphic>(std::make_unique<T>()); };
}

std::vector<FileFormat>& Formats() {
    static std::vector<FileFormat> formats{
        {L"bmp", L"Bitmaps", FactoryOf<TBitmap>()},
        {L"jpg", L"JPEG Image File", FactoryOf<TJPEGImage>()},
        {L"jpeg", L"JPEG Image File", FactoryOf<TJPEGImage>()},
        {L"emf", L"Enhanced Metafiles", FactoryOf<TMetafile>()},
        {L"wmf", L"Metafiles", FactoryOf<TMetafile>()},
        {L"ico", L"Icons", FactoryOf<TIcon>()},
    };
    return formats;
}

FileFormat* FindFormat(const String& extension) {
    for (auto& format : Formats())
        if (SameText(format.extension, extension)) return &format;
    return nullptr;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory) {
    if (FileFormat* existing = FindFormat(extension)) {
        existing->description = description;
        existing->factory = std::move(factory);
        return;
    }
    Formats().push_back({LowerCase(extension), description, std::move(factory)});
}

void TPicture::UnregisterFileFormat(const String& extension) {
    auto& formats = Formats();
    std::erase_if(formats, [&](const FileFormat& f) { return SameText(f.extension, extension); });
}

std::unique_ptr<TGraphic> TPicture::CreateForExtension(const String& extension) {
    FileFormat* format = FindFormat(extension);
    return format ? format->factory() : nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateByClassName(const String& className) {
    TClass cls = GetClass(className);
    if (!cls || !cls->Factory || !cls->InheritsFrom(TGraphic::StaticClass())) return nullptr;
    return std::unique_ptr<TGraphic>(static_cast<TGraphic*>(cls->Factory(nullptr)));
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
    if (graphic) graphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) return SetGraphic(nullptr);
    if (auto* picture = dynamic_cast<const TPicture*>(source)) return SetGraphic(picture->Graphic());
    if (auto* graphic = dynamic_cast<const TGraphic*>(source)) return SetGraphic(graphic);
    TPersistent::Assign(source);
}

void TPicture::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        L"Data", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
        graphic_ && !graphic_->Empty());
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    if (!graphic) {
        Adopt(nullptr);
        return;
    }
    auto copy = graphic->NewInstance();
    copy->Assign(*graphic);
    Adopt(std::move(copy));
}

TBitmap& TPicture::Bitmap() {
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        auto fresh = std::make_unique<TBitmap>();
        bitmap = fresh.get();
        Adopt(std::move(fresh));
    }
    return *bitmap;
}

void TPicture::LoadFromFile(const String& fileName) {
    String extension = ExtractFileExt(fileName);
    if (!extension.empty()) extension.erase(0, 1);
    auto graphic = CreateForExtension(extension);
    if (!graphic) throw EInvalidGraphic(L"Unknown picture file extension (." + extension + L")");
    graphic->LoadFromFile(fileName);
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) {
    if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::ReadData(TStream& stream) {
    Byte length = 0;
    stream.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length == 0) {
        Adopt(nullptr);
        return;
    }
    stream.ReadBuffer(name.data(), length);
    String className = AnsiToString(name);
    auto graphic = CreateByClassName(className);
    if (!graphic) throw EInvalidGraphic(L"Unknown picture class " + className);
    graphic->LoadFromStream(stream);
    Adopt(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const {
    std::string name = graphic_ ? StringToAnsi(graphic_->ClassName()) : std::string();
    Byte length = static_cast<Byte>(name.size());
    stream.WriteBuffer(&length, 1);
    if (length) stream.WriteBuffer(name.data(), length);
    if (graphic_) graphic_->SaveToStream(stream);
}
