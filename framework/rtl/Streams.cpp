#include "framework/rtl/Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "framework/rtl/FileUtils.h"

// ---- TStream ----

Int64 TStream::Position() { return Seek(0, soFromCurrent); }

void TStream::SetPosition(Int64 position) { Seek(position, soFromBeginning); }

Int64 TStream::Size() {
    Int64 position = Seek(0, soFromCurrent);
    Int64 size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* buffer, Int64 count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, Int64 count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(L"Stream write error");
}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count <= 0) return 0;
    constexpr Int64 kChunk = 64 * 1024;
    std::vector<Byte> buffer(static_cast<size_t>(std::min(count, kChunk)));
    Int64 remaining = count;
    while (remaining > 0) {
        Int64 n = std::min(remaining, kChunk);
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        remaining -= n;
    }
    return count;
}

// ---- THandleStream ----

namespace {

// The system's single transfers take 32-bit counts; larger requests are split.
constexpr Int64 kMaxTransfer = 0x40000000;

template <typename Buffer, typename Transfer>
Int64 TransferAll(Buffer* buffer, Int64 count, Transfer transfer) {
    Int64 total = 0;
    while (count > total) {
        Int64 want = std::min(count - total, kMaxTransfer);
        Int64 done = transfer(buffer + total, want);
        if (done < 0) break;
        total += done;
        if (done < want) break;
    }
    return total;
}

}  // namespace

THandleStream::THandleStream(THandle handle) : handle_(handle) {}

Int64 THandleStream::Read(void* buffer, Int64 count) {
    return TransferAll(static_cast<Byte*>(buffer), count,
                       [this](Byte* at, Int64 n) { return platform::FileRead(handle_, at, n); });
}

Int64 THandleStream::Write(const void* buffer, Int64 count) {
    return TransferAll(static_cast<const Byte*>(buffer), count,
                       [this](const Byte* at, Int64 n) { return platform::FileWrite(handle_, at, n); });
}

Int64 THandleStream::Seek(Int64 offset, TSeekOrigin origin) { return platform::FileSeek(handle_, offset, origin); }

void THandleStream::SetSize(Int64 newSize) {
    Int64 position = Position();
    Seek(newSize, soFromBeginning);
    if (!platform::FileTruncate(handle_))
        throw EStreamError(L"Stream write error. " + SysErrorMessage(platform::LastError()));
    if (position < newSize) Seek(position, soFromBeginning);
}

// ---- TFileStream ----

namespace {

platform::FileShare ShareOf(Word mode) {
    switch (mode & 0x00F0) {
        case fmShareDenyWrite: return platform::FileShare::Read;
        case fmShareDenyRead: return platform::FileShare::Write;
        case fmShareDenyNone: return platform::FileShare::ReadWrite;
        default: return platform::FileShare::Exclusive;  // exclusive and compatibility mode
    }
}

platform::FileAccess AccessOf(Word mode) {
    switch (mode & 0x0003) {
        case fmOpenWrite: return platform::FileAccess::Write;
        case fmOpenReadWrite: return platform::FileAccess::ReadWrite;
        default: return platform::FileAccess::Read;
    }
}

}  // namespace

TFileStream::TFileStream(const String& fileName, Word mode)
    : THandleStream(platform::kNoFile), fileName_(fileName) {
    bool create = (mode & fmCreate) == fmCreate;
    handle_ = platform::OpenFile(fileName, AccessOf(mode), ShareOf(mode), create);
    if (handle_ == platform::kNoFile) {
        String reason = SysErrorMessage(platform::LastError());
        if (create) throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + reason);
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + reason);
    }
}

TFileStream::~TFileStream() { platform::CloseFile(handle_); }

// ---- TCustomMemoryStream ----

void TCustomMemoryStream::SetPointer(void* memory, Int64 size) {
    memory_ = memory;
    size_ = size;
}

Int64 TCustomMemoryStream::Read(void* buffer, Int64 count) {
    if (count <= 0 || position_ >= size_) return 0;
    Int64 n = std::min(count, size_ - position_);
    std::memcpy(buffer, static_cast<const Byte*>(memory_) + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

Int64 TCustomMemoryStream::Write(const void*, Int64) { return 0; }

Int64 TCustomMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
    switch (origin) {
        case soFromBeginning: position_ = offset; break;
        case soFromCurrent: position_ += offset; break;
        case soFromEnd: position_ = size_ + offset; break;
    }
    if (position_ < 0) position_ = 0;
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(memory_, size_); }

void TCustomMemoryStream::SaveToFile(const String& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TMemoryStream ----

Int64 TMemoryStream::Write(const void* buffer, Int64 count) {
    if (count <= 0) return 0;
    Int64 end = position_ + count;
    if (end > static_cast<Int64>(data_.size())) {
        if (static_cast<size_t>(end) > data_.capacity())
            data_.reserve(std::max(static_cast<size_t>(end), data_.capacity() + data_.capacity() / 2));
        data_.resize(static_cast<size_t>(end));
        SetPointer(data_.data(), end);
    }
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(Int64 newSize) {
    if (newSize < 0) newSize = 0;
    data_.resize(static_cast<size_t>(newSize));
    SetPointer(data_.data(), newSize);
    if (position_ > newSize) position_ = newSize;
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    Int64 size = stream.Size();
    SetSize(size);
    if (size != 0) stream.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

// ---- TStringStream ----

TStringStream::TStringStream(std::string data) : data_(std::move(data)) {}

Int64 TStringStream::Read(void* buffer, Int64 count) {
    Int64 size = static_cast<Int64>(data_.size());
    if (count <= 0 || position_ >= size) return 0;
    Int64 n = std::min(count, size - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

Int64 TStringStream::Write(const void* buffer, Int64 count) {
    if (count <= 0) return 0;
    Int64 end = position_ + count;
    if (end > static_cast<Int64>(data_.size())) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

Int64 TStringStream::Seek(Int64 offset, TSeekOrigin origin) {
    switch (origin) {
        case soFromBeginning: position_ = offset; break;
        case soFromCurrent: position_ += offset; break;
        case soFromEnd: position_ = static_cast<Int64>(data_.size()) + offset; break;
    }
    if (position_ < 0) position_ = 0;
    return position_;
}

void TStringStream::SetSize(Int64 newSize) {
    if (newSize < 0) newSize = 0;
    data_.resize(static_cast<size_t>(newSize));
    if (position_ > newSize) position_ = newSize;
}

std::string TStringStream::ReadString(Int64 count) {
    Int64 size = static_cast<Int64>(data_.size());
    Int64 n = std::clamp<Int64>(std::min(count, size - position_), 0, size);
    std::string result = data_.substr(static_cast<size_t>(position_), static_cast<size_t>(n));
    position_ += n;
    return result;
}

void TStringStream::WriteString(const std::string& text) { Write(text.data(), static_cast<Int64>(text.size())); }
