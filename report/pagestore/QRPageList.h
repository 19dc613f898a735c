// The page store of a report run and the prepared-report (.QRP) file: pages appended as
// records to a TQRStream, fetched by walking the record chain, saved and loaded as a file.
// Pages are passed as metafile bytes (TQRPageBytes); turning them into metafile objects is
// the caller's business. Lock order: the page list's lock, then the stream's.
#pragma once

#include <memory>
#include <optional>
#include <span>

#include "framework/rtl/SyncObjs.h"
#include "framework/rtl/System.h"
#include "report/pagestore/QROutline.h"
#include "report/pagestore/QRPageBytes.h"
#include "report/pagestore/QRStream.h"

class TQRPageList : public TObject {
public:
    TQRPageList();
    ~TQRPageList() override;
    String ClassName() const override { return L"TQRPageList"; }

    // Forgets the pages; the stream is left alone (the next append starts it afresh).
    void Clear();
    int PageCount() const;
    bool Compression() const { return compression_; }
    void SetCompression(bool value) { compression_ = value; }
    TQRStream* Stream() const { return stream_.get(); }
    // Takes the stream for a new build; nullptr frees the current one.
    void SetStream(std::unique_ptr<TQRStream> stream);
    TQROutline& Outline() { return outline_; }

    // Appends a page. The bytes must be one valid metafile (EInvalidArgument otherwise). The
    // page counts only once its record is complete; a failed write leaves the store as it was.
    void AddPageBytes(std::span<const Byte> metafile);
    // Page n (from 1), or nothing when n is outside 1..PageCount. Damage raises EQRCorruptFile.
    std::optional<TQRPageBytes> GetPageBytes(int n);

    void WriteHeader();
    void ReadHeader();
    void RewindToFirstPage();
    void WindToLastPage();
    // Positions the stream at the start of page n's record.
    void SeekToPage(int n);

    // Replaces the stream by one reading the file. A header that claims more pages than the
    // file holds is believed only as far as the records go. EFOpenError when the file cannot
    // be opened, EQRCorruptFile when it is damaged; either way the list is left without a stream.
    void LoadFromFile(const String& fileName);
    // Writes the whole stream into the file, replacing it only once the copy is complete.
    void WritePreparedFile(const String& fileName);

private:
    struct RecordLinks {
        int number;
        Int64 next;
    };
    TQRStream& RequireStream();
    int ReadHeaderRecord();
    std::optional<RecordLinks> TryRecordLinks(Int64 start, Int64 headerSize, Int64 size);
    RecordLinks RecordLinksAt(Int64 start, Int64 headerSize, Int64 size);
    std::int32_t Int32At(Int64 offset, Int64 size);
    int CountRecords(int headerSize);

    mutable TCriticalSection lock_;
    bool compression_ = false;
    int pageCount_ = 0;
    std::unique_ptr<TQRStream> stream_;
    TQROutline outline_;
};
