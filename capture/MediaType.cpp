#include "capture/MediaType.h"

#include <cstring>

#include "framework/classes/Filer.h"
#include "framework/rtl/Streams.h"

void CopyMediaTypeRecord(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) {
    if (&target == &source) throw EAssertionFailed(L"A media type cannot be copied onto itself");
    if (source.cbFormat != 0 && source.pbFormat == nullptr)
        throw EAssertionFailed(L"A media type declares a format block it does not have");
    target = source;
    if (source.cbFormat != 0) {
        target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (target.pbFormat == nullptr)
            target.cbFormat = 0;
        else
            std::memcpy(target.pbFormat, source.pbFormat, source.cbFormat);
    } else {
        target.pbFormat = nullptr;
    }
    if (target.pUnk != nullptr) target.pUnk->AddRef();
}

void FreeMediaTypeRecord(AM_MEDIA_TYPE& record) noexcept {
    if (record.cbFormat != 0 || record.pbFormat != nullptr) CoTaskMemFree(record.pbFormat);
    record.cbFormat = 0;
    record.pbFormat = nullptr;
    if (record.pUnk != nullptr) {
        record.pUnk->Release();
        record.pUnk = nullptr;
    }
}

TMediaType::TMediaType() : TMediaType(GUID{}) {}

TMediaType::TMediaType(const GUID& majorType) {
    record_.lSampleSize = 1;
    record_.bFixedSizeSamples = -1;
    record_.majortype = majorType;
}

TMediaType::~TMediaType() { FreeMediaTypeRecord(record_); }

void TMediaType::FreeFormat() {
    CoTaskMemFree(record_.pbFormat);
    record_.cbFormat = 0;
    record_.pbFormat = nullptr;
}

bool TMediaType::IsEqual(const TMediaType& other) const {
    const AM_MEDIA_TYPE& a = record_;
    const AM_MEDIA_TYPE& b = other.record_;
    if (!IsEqualGUID(a.majortype, b.majortype) || !IsEqualGUID(a.subtype, b.subtype) ||
        !IsEqualGUID(a.formattype, b.formattype) || a.cbFormat != b.cbFormat)
        return false;
    return a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

void TMediaType::Assign(const TPersistent* source) {
    if (source == this) return;
    if (auto* other = dynamic_cast<const TMediaType*>(source)) {
        AM_MEDIA_TYPE copy{};
        CopyMediaTypeRecord(copy, other->record_);
        FreeMediaTypeRecord(record_);
        record_ = copy;
        return;
    }
    TPersistent::Assign(source);
}

std::vector<Byte> TMediaType::WriteData() const {
    TMediaTypeFields fields;
    fields.MajorType = record_.majortype;
    fields.SubType = record_.subtype;
    fields.FixedSizeSamples = record_.bFixedSizeSamples;
    fields.TemporalCompression = record_.bTemporalCompression;
    fields.SampleSize = record_.lSampleSize;
    fields.FormatType = record_.formattype;
    if (record_.cbFormat != 0 && record_.pbFormat != nullptr)
        fields.Format.assign(record_.pbFormat, record_.pbFormat + record_.cbFormat);
    return WriteMediaTypeData(fields);
}

void TMediaType::ReadData(const std::vector<Byte>& bytes) {
    // Parsed completely before the owned record changes: a corrupt value leaves it as it was.
    const TMediaTypeFields fields = ReadMediaTypeData(bytes);
    BYTE* block = nullptr;
    if (!fields.Format.empty()) {
        block = static_cast<BYTE*>(CoTaskMemAlloc(fields.Format.size()));
        if (block == nullptr) throw EOutOfMemory(L"Out of memory");
        std::memcpy(block, fields.Format.data(), fields.Format.size());
    }
    FreeMediaTypeRecord(record_);
    record_.majortype = fields.MajorType;
    record_.subtype = fields.SubType;
    record_.bFixedSizeSamples = fields.FixedSizeSamples;
    record_.bTemporalCompression = fields.TemporalCompression;
    record_.lSampleSize = fields.SampleSize;
    record_.formattype = fields.FormatType;
    record_.pUnk = nullptr;
    record_.cbFormat = static_cast<ULONG>(fields.Format.size());
    record_.pbFormat = block;
}

void TMediaType::DefineProperties(TFiler& filer) {
    filer.DefineBinaryProperty(
        L"data",
        [this](TStream& stream) {
            std::vector<Byte> bytes(static_cast<size_t>(stream.Size() - stream.Position()));
            if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
            ReadData(bytes);
        },
        [this](TStream& stream) {
            const std::vector<Byte> bytes = WriteData();
            stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        },
        true);
}
