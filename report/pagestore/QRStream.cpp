#include "report/pagestore/QRStream.h"

#include <algorithm>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "report/pagestore/QRFileFormat.h"

TQRStream::TQRStream(Int64 memoryLimit)
    : memory_(std::make_unique<TMemoryStream>()), inMemory_(true), memoryLimit_(memoryLimit) {}

TQRStream::TQRStream(const String& fileName)
    : file_(std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyNone)), inMemory_(false), memoryLimit_(0) {}

TQRStream::~TQRStream() {
    TCriticalSectionLock guard(lock_);
    memory_.reset();
    file_.reset();
    if (!fileName_.empty() && FileExists(fileName_)) DeleteFile(fileName_);
}

TStream& TQRStream::Active() {
    if (inMemory_) return *memory_;
    return *file_;
}

String TQRStream::SourceFileName() const {
    return fileName_.empty() && file_ ? file_->FileName() : String();
}

Int64 TQRStream::Read(void* buffer, Int64 count) {
    TCriticalSectionLock guard(lock_);
    return Active().Read(buffer, count);
}

Int64 TQRStream::Write(const void* buffer, Int64 count) {
    TCriticalSectionLock guard(lock_);
    Int64 written = Active().Write(buffer, count);
    if (inMemory_ && memory_->Size() > memoryLimit_) SpillToFile();
    return written;
}

Int64 TQRStream::Seek(Int64 offset, TSeekOrigin origin) {
    TCriticalSectionLock guard(lock_);
    return Active().Seek(offset, origin);
}

Int64 TQRStream::Size() {
    TCriticalSectionLock guard(lock_);
    return Active().Size();
}

void TQRStream::SetSize(Int64 newSize) {
    TCriticalSectionLock guard(lock_);
    Active().SetSize(newSize);
}

// On failure the stream stays in memory with everything written so far, and the partly
// written temporary file is removed.
void TQRStream::SpillToFile() {
    String name = CreateTempFileName(L"QRP");
    try {
        auto file = std::make_unique<TFileStream>(name, fmCreate | fmShareExclusive);
        file->WriteBuffer(memory_->Memory(), memory_->Size());
        file->SetPosition(memory_->Position());
        file_ = std::move(file);
    } catch (...) {
        DeleteFile(name);
        throw;
    }
    fileName_ = name;
    memory_.reset();
    inMemory_ = false;
}

void TQRStream::CopyIntoStream(TStream& target) {
    TCriticalSectionLock guard(lock_);
    constexpr Int64 kBlock = 10240;
    std::vector<Byte> block(kBlock);
    Seek(0, soFromBeginning);
    for (;;) {
        Int64 n = Read(block.data(), kBlock);
        if (n <= 0) break;
        target.WriteBuffer(block.data(), n);
    }
}

namespace {

// Restores a stream's position when the scope ends, also when an exception passes.
class PositionKeeper {
public:
    explicit PositionKeeper(TStream& stream) : stream_(stream), position_(stream.Position()) {}
    ~PositionKeeper() { stream_.SetPosition(position_); }
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

private:
    TStream& stream_;
    Int64 position_;
};

bool ReadAt(TStream& stream, Int64 offset, Byte* out, Int64 count) {
    if (offset < 0 || offset + count > stream.Size()) return false;
    stream.SetPosition(offset);
    return stream.Read(out, count) == count;
}

}  // namespace

// The current header is known by its format words and a first record numbered 1 right
// behind it. Older headers are found by the signature of the first page's metafile, which
// sits 8 + 41 bytes behind the header ("EMF" and the zero low byte of the version).
// Compressed data has no plain signature, so such files come out as 128.
int TQRStream::HeaderSize() {
    TCriticalSectionLock guard(lock_);
    PositionKeeper keeper(*this);
    const Int64 size = Size();
    Byte bytes[4];
    if (ReadAt(*this, 0, bytes, 4) && HasCurrentFormatWords(bytes)) {
        if (size < QRHeaderSize + 4) return QRHeaderSize;
        if (ReadAt(*this, QRHeaderSize, bytes, 4) && GetInt32LE(bytes) == 1) return QRHeaderSize;
    }
    for (int length : {QROldHeaderSize, QROnePageHeaderSize, QRBareHeaderSize, QRHeaderSize}) {
        if (ReadAt(*this, length + QRRecordPrefixSize + 41, bytes, 4) && bytes[0] == 'E' && bytes[1] == 'M' &&
            bytes[2] == 'F' && bytes[3] == 0)
            return length;
    }
    return QRHeaderSize;
}
