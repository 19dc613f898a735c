#include "report/pagestore/QRPageList.h"

#include <limits>
#include <vector>

#include "framework/rtl/Clock.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRFileFormat.h"

TQRPageList::TQRPageList() = default;

TQRPageList::~TQRPageList() = default;

void TQRPageList::Clear() {
    TCriticalSectionLock guard(lock_);
    pageCount_ = 0;
    ForgetCheckedRecords();
}

int TQRPageList::PageCount() const {
    TCriticalSectionLock guard(lock_);
    return pageCount_;
}

void TQRPageList::SetStream(std::unique_ptr<TQRStream> stream) {
    TCriticalSectionLock guard(lock_);
    stream_ = std::move(stream);
    ForgetCheckedRecords();
}

TQRStream& TQRPageList::RequireStream() {
    if (!stream_) throw EInvalidOperation(L"No page stream");
    return *stream_;
}

// ---- writing ----

void TQRPageList::WriteHeader() {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    TQRHeaderRecord header = BuildQRHeader(pageCount_, Now(), compression_);
    stream.SetPosition(0);
    stream.WriteBuffer(header.data(), QRHeaderSize);
}

namespace {

std::vector<Byte> PageData(std::span<const Byte> metafile, bool compressed) {
    if (!compressed) return {metafile.begin(), metafile.end()};
    std::vector<Byte> coded = TQRCompress::Compress(metafile);
    std::vector<Byte> data(4);
    PutInt32LE(data.data(), static_cast<std::int32_t>(metafile.size()));
    data.insert(data.end(), coded.begin(), coded.end());
    return data;
}

void AppendInt32(std::vector<Byte>& bytes, Int64 value) {
    Byte field[4];
    PutInt32LE(field, static_cast<std::int32_t>(value));
    bytes.insert(bytes.end(), field, field + 4);
}

}  // namespace

// The whole record is built first and written in one go (behind a fresh header for the first
// page); only when that write has completed does the page count. Otherwise the stream is cut
// back to where it was.
void TQRPageList::AddPageBytes(std::span<const Byte> metafile) {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    if (static_cast<Int64>(metafile.size()) > QRMaxPageBytes || !IsValidEmf(metafile))
        throw EInvalidArgument(L"Invalid metafile");
    const bool first = pageCount_ == 0;
    const int number = pageCount_ + 1;
    std::vector<Byte> data = PageData(metafile, compression_);
    if (static_cast<Int64>(data.size()) > QRMaxRecordDataBytes) throw EInvalidArgument(L"Invalid metafile");

    const Int64 start = first ? QRHeaderSize : stream.Size();
    const Int64 next = start + QRRecordOverhead + static_cast<Int64>(data.size());
    if (next > std::numeric_limits<std::int32_t>::max()) throw EWriteError(L"Stream write error");

    std::vector<Byte> bytes;
    bytes.reserve(static_cast<std::size_t>(next - start) + (first ? QRHeaderSize : 0));
    if (first) {
        TQRHeaderRecord header = BuildQRHeader(number, Now(), compression_);
        bytes.assign(header.begin(), header.end());
    }
    AppendInt32(bytes, number);
    AppendInt32(bytes, next);
    bytes.insert(bytes.end(), data.begin(), data.end());
    AppendInt32(bytes, start);

    const Int64 writeAt = first ? 0 : start;
    if (first) ForgetCheckedRecords();
    try {
        if (first) stream.SetSize(0);
        stream.SetPosition(writeAt);
        stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    } catch (...) {
        try {
            stream.SetSize(writeAt);
            stream.SetPosition(writeAt);
        } catch (...) {
            // the original failure is the one to report
        }
        throw;
    }
    pageCount_ = number;
    // The record just written is sound; it extends the checked chain when it continues it.
    if (first) chainEnd_ = start;
    if (chainEnd_ == start && static_cast<int>(recordStarts_.size()) == number - 1) {
        recordStarts_.push_back(static_cast<std::int32_t>(start));
        chainEnd_ = next;
    }
}

// ---- the record chain ----

// Reads that come up short mean the file under an opened report has shrunk.
void TQRPageList::ReadExactly(Int64 offset, Byte* buffer, Int64 count) {
    stream_->SetPosition(offset);
    if (stream_->Read(buffer, count) != count) RaiseCorruptFile();
}

std::int32_t TQRPageList::Int32At(Int64 offset, Int64 size) {
    if (offset < 0 || offset + 4 > size) RaiseCorruptFile();
    Byte field[4];
    ReadExactly(offset, field, 4);
    return GetInt32LE(field);
}

// A record is sound when it lies inside the file and its trailing offset points back at it.
std::optional<TQRPageList::RecordLinks> TQRPageList::TryRecordLinks(Int64 start, Int64 size) {
    if (start + QRRecordOverhead > size) return std::nullopt;
    Byte prefix[QRRecordPrefixSize];
    ReadExactly(start, prefix, QRRecordPrefixSize);
    RecordLinks links{GetInt32LE(prefix), GetInt32LE(prefix + 4)};
    if (links.next < start + QRRecordOverhead || links.next > size) return std::nullopt;
    if (Int32At(links.next - QRRecordSuffixSize, size) != start) return std::nullopt;
    return links;
}

void TQRPageList::ForgetCheckedRecords() {
    recordStarts_.clear();
    chainEnd_ = -1;
}

// Checks the record where the chain goes on, which must carry the next page number. False at
// the end of the stream. Each step moves forward by a whole record, so the walk ends.
bool TQRPageList::CheckNextRecord() {
    if (chainEnd_ < 0) chainEnd_ = stream_->HeaderSize();
    const Int64 size = stream_->Size();
    if (chainEnd_ == size) return false;
    const std::optional<RecordLinks> record = TryRecordLinks(chainEnd_, size);
    if (!record || record->number != static_cast<int>(recordStarts_.size()) + 1) RaiseCorruptFile();
    recordStarts_.push_back(static_cast<std::int32_t>(chainEnd_));
    chainEnd_ = record->next;
    return true;
}

void TQRPageList::CheckRecordsUpTo(int n) {
    while (static_cast<int>(recordStarts_.size()) < n)
        if (!CheckNextRecord()) RaiseCorruptFile();
}

// Follows the chain to the end of the stream, which it must meet exactly.
void TQRPageList::CheckWholeChain() {
    while (CheckNextRecord()) {
    }
}

// Where checked record n ends: where the next one starts, or where the chain goes on.
Int64 TQRPageList::RecordEnd(int n) const {
    return n < static_cast<int>(recordStarts_.size()) ? recordStarts_[static_cast<std::size_t>(n)] : chainEnd_;
}

void TQRPageList::RewindToFirstPage() {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    stream.SetPosition(stream.HeaderSize());
}

void TQRPageList::WindToLastPage() {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    CheckWholeChain();
    stream.SetPosition(recordStarts_.empty() ? chainEnd_ : recordStarts_.back());
}

void TQRPageList::SeekToPage(int n) {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    if (n < 1) throw EInvalidArgument(L"Page number out of range");
    CheckRecordsUpTo(n);
    stream.SetPosition(recordStarts_[static_cast<std::size_t>(n - 1)]);
}

namespace {

// The page a record's data holds. A compressed page's length is bounded by the memory limit
// and by what its coded bytes can hold, before anything is allocated for it.
TQRPageBytes PageFromData(std::span<const Byte> data, bool compressed) {
    TQRPageBytes page;
    if (compressed) {
        if (data.size() < 4) RaiseCorruptFile();
        const std::int32_t length = GetInt32LE(data.data());
        if (length < 0 || length > QRMaxPageBytes) RaiseCorruptFile();
        page = TQRCompress::Decompress(data.subspan(4), static_cast<std::size_t>(length));
    } else {
        if (static_cast<Int64>(data.size()) > QRMaxPageBytes) RaiseCorruptFile();
        page.assign(data.begin(), data.end());
    }
    if (!IsValidEmf(page)) RaiseCorruptFile();
    return page;
}

}  // namespace

// One seek and one read of the whole record, whose links must still be those checked: a file
// that has changed under an opened report is caught here.
std::optional<TQRPageBytes> TQRPageList::GetPageBytes(int n) {
    TCriticalSectionLock guard(lock_);
    if (n < 1 || n > pageCount_ || !stream_) return std::nullopt;
    CheckRecordsUpTo(n);
    const Int64 start = recordStarts_[static_cast<std::size_t>(n - 1)];
    const Int64 end = RecordEnd(n);
    const Int64 length = end - start;
    if (length - QRRecordOverhead > QRMaxRecordDataBytes) RaiseCorruptFile();

    std::vector<Byte> record(static_cast<std::size_t>(length));
    ReadExactly(start, record.data(), length);
    if (GetInt32LE(record.data()) != n || GetInt32LE(record.data() + 4) != end ||
        GetInt32LE(record.data() + length - QRRecordSuffixSize) != start)
        RaiseCorruptFile();
    const auto data = std::span<const Byte>(record).subspan(QRRecordPrefixSize,
                                                            static_cast<std::size_t>(length - QRRecordOverhead));
    return PageFromData(data, compression_);
}

// ---- the file ----

int TQRPageList::ReadHeaderRecord() {
    TQRStream& stream = RequireStream();
    const int headerSize = stream.HeaderSize();
    if (stream.Size() < headerSize) RaiseCorruptFile();
    TQRHeaderRecord record{};
    ForgetCheckedRecords();  // the chain starts behind this header
    ReadExactly(0, record.data(), headerSize);
    ConvertOldHeader(headerSize, record);
    if (headerSize == QRHeaderSize || headerSize == QROldHeaderSize) {
        const int count = HeaderPageCount(record);
        if (count < 0) RaiseCorruptFile();
        pageCount_ = count;
        compression_ = HeaderCompressed(record);
    } else if (headerSize == QROnePageHeaderSize) {
        pageCount_ = 1;
    }
    return headerSize;
}

void TQRPageList::ReadHeader() {
    TCriticalSectionLock guard(lock_);
    ReadHeaderRecord();
}

void TQRPageList::LoadFromFile(const String& fileName) {
    TCriticalSectionLock guard(lock_);
    stream_.reset();
    ForgetCheckedRecords();
    pageCount_ = 0;
    compression_ = false;  // headers that carry no flag belong to uncompressed files
    stream_ = std::make_unique<TQRStream>(fileName);
    try {
        const int headerSize = ReadHeaderRecord();
        CheckWholeChain();
        const int records = static_cast<int>(recordStarts_.size());
        if (headerSize == QRBareHeaderSize || pageCount_ > records) pageCount_ = records;
        if (pageCount_ >= 1) GetPageBytes(pageCount_);  // reads the last page whole once
    } catch (...) {
        stream_.reset();
        ForgetCheckedRecords();
        pageCount_ = 0;
        throw;
    }
}

namespace {
bool SameFile(const String& a, const String& b) {
    return !a.empty() && !b.empty() && AnsiSameText(ExpandFileName(a), ExpandFileName(b));
}
}  // namespace

// Saving onto the file the stream reads: the stream lets go of it for the replacement and reads
// the new file, which holds the same bytes, afterwards (the old one again if replacing failed).
void TQRPageList::WritePreparedFile(const String& fileName) {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    const String source = stream.SourceFileName();
    const String temporary = CreateTempFileBeside(fileName, L"QRP");
    try {
        {
            TFileStream target(temporary, fmCreate | fmShareExclusive);
            stream.CopyIntoStream(target);
        }
        if (SameFile(source, fileName)) {
            stream_.reset();
            try {
                ReplaceFileWith(temporary, fileName);
            } catch (...) {
                stream_ = std::make_unique<TQRStream>(source);
                throw;
            }
            stream_ = std::make_unique<TQRStream>(source);
        } else {
            ReplaceFileWith(temporary, fileName);
        }
    } catch (...) {
        DeleteFile(temporary);
        throw;
    }
}
