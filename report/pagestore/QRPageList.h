// The page store of a report run and the prepared-report (.QRP) file: pages appended as
// records to a TQRStream, saved and loaded as a file. The record chain is checked once, and
// the start of every checked record is kept, so a page is fetched with one seek and one read.
// Pages are passed as metafile bytes (TQRPageBytes); turning them into metafile objects is
// the caller's business. Lock order: the page list's lock, then the stream's.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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
    // Page n (from 1), or nothing when n is outside 1..PageCount. Damage raises EQRCorruptFile,
    // also when the file under an opened report has shrunk or changed since it was checked.
    std::optional<TQRPageBytes> GetPageBytes(int n);

    void WriteHeader();
    void ReadHeader();
    void RewindToFirstPage();
    // Positions the stream at the start of the last record, or behind the header when none.
    void WindToLastPage();
    // Positions the stream at the start of page n's record (n >= 1); EQRCorruptFile when the
    // record chain holds no record n.
    void SeekToPage(int n);

    // Replaces the stream by one reading the file. A header that claims more pages than the
    // file holds is believed only as far as the records go. EFOpenError when the file cannot
    // be opened, EQRCorruptFile when it is damaged; either way the list is left without a stream.
    void LoadFromFile(const String& fileName);
    // Writes the whole stream into the file, replacing it only once the copy is complete; the
    // file the stream was loaded from may be the target.
    void WritePreparedFile(const String& fileName);

private:
    struct RecordLinks {
        int number;
        Int64 next;
    };
    TQRStream& RequireStream();
    int ReadHeaderRecord();
    void ReadExactly(Int64 offset, Byte* buffer, Int64 count);
    std::int32_t Int32At(Int64 offset, Int64 size);
    std::optional<RecordLinks> TryRecordLinks(Int64 start, Int64 size);
    void ForgetCheckedRecords();
    bool CheckNextRecord();
    void CheckRecordsUpTo(int n);
    void CheckWholeChain();
    Int64 RecordEnd(int n) const;

    mutable TCriticalSection lock_;
    bool compression_ = false;
    int pageCount_ = 0;
    std::unique_ptr<TQRStream> stream_;
    TQROutline outline_;
    // The record chain as far as it has been checked, from the header on: the start of
    // record k + 1 at index k (one 4-byte offset per record of at least 12 bytes), and where
    // the chain goes on (-1 before the first record is known). Forgotten whenever the
    // stream may have been replaced or started afresh.
    std::vector<std::int32_t> recordStarts_;
    Int64 chainEnd_ = -1;
};
