// TMediaType: one owned DirectShow media type (AM_MEDIA_TYPE and its format block), stored in
// descriptions as the binary property "data" in the 72-byte layout of MediaTypeRecord.h.
#pragma once

#include "capture/DirectShow.h"
#include "capture/MediaTypeRecord.h"
#include "framework/classes/Persistent.h"

// Deep copy: the format block is allocated anew with the COM task allocator (cbFormat becomes 0
// when that fails) and pUnk gains a reference. Raises EAssertionFailed when target is source or
// source has a non-zero cbFormat without a block.
void CopyMediaTypeRecord(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source);
// Frees the format block (cbFormat 0, pbFormat null) and releases pUnk.
void FreeMediaTypeRecord(AM_MEDIA_TYPE& record) noexcept;

class TMediaType : public TPersistent {
    FV_CLASS(TMediaType, TPersistent)
public:
    TMediaType();
    // A zeroed record with sample size 1, all bits of the fixed-size flag set, and majorType.
    explicit TMediaType(const GUID& majorType);
    ~TMediaType() override;
    TMediaType(const TMediaType&) = delete;
    TMediaType& operator=(const TMediaType&) = delete;

    AM_MEDIA_TYPE& Record() { return record_; }
    const AM_MEDIA_TYPE& Record() const { return record_; }
    void SetMajorType(const GUID& value) { record_.majortype = value; }
    void SetSubType(const GUID& value) { record_.subtype = value; }
    void SetFormatType(const GUID& value) { record_.formattype = value; }
    Cardinal FormatLength() const { return record_.cbFormat; }
    void FreeFormat();
    // Same major type, subtype, format type and format bytes.
    bool IsEqual(const TMediaType& other) const;

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

    // The stored form and back (ReadData raises EReadError on a corrupt record).
    std::vector<Byte> WriteData() const;
    void ReadData(const std::vector<Byte>& bytes);

private:
    AM_MEDIA_TYPE record_{};
};
