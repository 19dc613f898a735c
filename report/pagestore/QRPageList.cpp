#include "report/pagestore/QRPageList.h"

#include <limits>
#include <vector>

#include "framework/rtl/Clock.h"
#include "framework/rtl/FileUtils.h"
#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRFileFormat.h"

TQRPageList::TQRPageList() = default;

TQRPageList::~TQRPageList() = default;

void TQRPageList::Clear() {
    TCriticalSectionLock guard(lock_);
    pageCount_ = 0;
}

int TQRPageList::PageCount() const {
    TCriticalSectionLock guard(lock_);
    return pageCount_;
}

void TQRPageList::SetStream(std::unique_ptr<TQRStream> stream) {
    TCriticalSectionLock guard(lock_);
    stream_ = std::move(stream);
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
    if (static_cast<Int64>(data.size()) > QRMaxPageBytes + 4) throw EInvalidArgument(L"Invalid metafile");

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
}

// ---- the record chain ----

std::int32_t TQRPageList::Int32At(Int64 offset, Int64 size) {
    if (offset < 0 || offset + 4 > size) RaiseCorruptFile();
    Byte field[4];
    stream_->SetPosition(offset);
    stream_->ReadBuffer(field, 4);
    return GetInt32LE(field);
}

// A record start is sound when the record lies inside the file behind the header and its
// trailing offset points back at it.
std::optional<TQRPageList::RecordLinks> TQRPageList::TryRecordLinks(Int64 start, Int64 headerSize, Int64 size) {
    if (start < headerSize || start + QRRecordOverhead > size) return std::nullopt;
    Byte prefix[QRRecordPrefixSize];
    stream_->SetPosition(start);
    stream_->ReadBuffer(prefix, QRRecordPrefixSize);
    RecordLinks links{GetInt32LE(prefix), GetInt32LE(prefix + 4)};
    if (links.next < start + QRRecordOverhead || links.next > size) return std::nullopt;
    if (Int32At(links.next - QRRecordSuffixSize, size) != start) return std::nullopt;
    return links;
}

TQRPageList::RecordLinks TQRPageList::RecordLinksAt(Int64 start, Int64 headerSize, Int64 size) {
    std::optional<RecordLinks> links = TryRecordLinks(start, headerSize, size);
    if (!links) RaiseCorruptFile();
    return *links;
}

void TQRPageList::RewindToFirstPage() {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    stream.SetPosition(stream.HeaderSize());
}

void TQRPageList::WindToLastPage() {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    stream.SetPosition(Int32At(stream.Size() - QRRecordSuffixSize, stream.Size()));
}

// Walks from the current record, forward along the next-record offsets or backward along the
// trailing offsets. Page numbers must change by one per step and every record must be sound,
// so the walk ends after at most |n - p| steps, with the record or with EQRCorruptFile.
void TQRPageList::SeekToPage(int n) {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    if (n == 1) {
        RewindToFirstPage();
        return;
    }
    const Int64 headerSize = stream.HeaderSize();
    const Int64 size = stream.Size();
    if (stream.Position() == size) WindToLastPage();
    Int64 pos = stream.Position();
    std::optional<RecordLinks> current = TryRecordLinks(pos, headerSize, size);
    if (!current) {  // not on a record start: begin at the first record
        pos = headerSize;
        current = RecordLinksAt(pos, headerSize, size);
    }
    RecordLinks record = *current;
    while (record.number != n) {
        if (n > record.number) {
            const int expected = record.number + 1;
            pos = record.next;
            record = RecordLinksAt(pos, headerSize, size);
            if (record.number != expected) RaiseCorruptFile();
        } else {
            const int expected = record.number - 1;
            const Int64 previous = Int32At(pos - QRRecordSuffixSize, size);
            RecordLinks earlier = RecordLinksAt(previous, headerSize, size);
            if (earlier.next != pos || earlier.number != expected) RaiseCorruptFile();
            pos = previous;
            record = earlier;
        }
    }
    stream.SetPosition(pos);
}

std::optional<TQRPageBytes> TQRPageList::GetPageBytes(int n) {
    TCriticalSectionLock guard(lock_);
    if (n < 1 || n > pageCount_ || !stream_) return std::nullopt;
    TQRStream& stream = *stream_;
    SeekToPage(n);
    const Int64 start = stream.Position();
    const Int64 size = stream.Size();
    const RecordLinks record = RecordLinksAt(start, stream.HeaderSize(), size);
    if (record.number != n) RaiseCorruptFile();
    const Int64 dataLength = record.next - start - QRRecordOverhead;
    if (dataLength > QRMaxPageBytes + 4) RaiseCorruptFile();

    std::vector<Byte> data(static_cast<std::size_t>(dataLength));
    stream.SetPosition(start + QRRecordPrefixSize);
    stream.ReadBuffer(data.data(), dataLength);
    stream.SetPosition(record.next);  // past the trailing offset, checked above

    TQRPageBytes page;
    if (compression_) {
        if (dataLength < 4) RaiseCorruptFile();
        const std::int32_t length = GetInt32LE(data.data());
        if (length < 0 || length > QRMaxPageBytes) RaiseCorruptFile();
        page = TQRCompress::Decompress(std::span<const Byte>(data).subspan(4), static_cast<std::size_t>(length));
    } else {
        page = std::move(data);
    }
    if (!IsValidEmf(page)) RaiseCorruptFile();
    return page;
}

// ---- the file ----

int TQRPageList::ReadHeaderRecord() {
    TQRStream& stream = RequireStream();
    const int headerSize = stream.HeaderSize();
    if (stream.Size() < headerSize) RaiseCorruptFile();
    TQRHeaderRecord record{};
    stream.SetPosition(0);
    stream.ReadBuffer(record.data(), headerSize);
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

// Follows the chain from the first record to the end of the file, which it must meet exactly.
int TQRPageList::CountRecords(int headerSize) {
    const Int64 size = stream_->Size();
    int count = 0;
    for (Int64 pos = headerSize; pos != size;) {
        RecordLinks record = RecordLinksAt(pos, headerSize, size);
        if (record.number != count + 1) RaiseCorruptFile();
        ++count;
        pos = record.next;
    }
    return count;
}

void TQRPageList::LoadFromFile(const String& fileName) {
    TCriticalSectionLock guard(lock_);
    stream_.reset();
    pageCount_ = 0;
    compression_ = false;  // headers that carry no flag belong to uncompressed files
    stream_ = std::make_unique<TQRStream>(fileName);
    try {
        const int headerSize = ReadHeaderRecord();
        const int records = CountRecords(headerSize);
        if (headerSize == QRBareHeaderSize || pageCount_ > records) pageCount_ = records;
        if (pageCount_ >= 1) GetPageBytes(pageCount_);  // reads the last page whole once
    } catch (...) {
        stream_.reset();
        pageCount_ = 0;
        throw;
    }
}

void TQRPageList::WritePreparedFile(const String& fileName) {
    TCriticalSectionLock guard(lock_);
    TQRStream& stream = RequireStream();
    const String temporary = CreateTempFileBeside(fileName, L"QRP");
    try {
        {
            TFileStream target(temporary, fmCreate | fmShareExclusive);
            stream.CopyIntoStream(target);
        }
        ReplaceFileWith(temporary, fileName);
    } catch (...) {
        DeleteFile(temporary);
        throw;
    }
}
