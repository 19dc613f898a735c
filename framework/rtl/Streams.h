// Byte streams: the abstract TStream, OS file handles, memory and string-backed streams.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/rtl/Platform.h"
#include "framework/rtl/System.h"

enum TSeekOrigin : Word { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// TFileStream modes: one open mode or fmCreate, combined with one share mode.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    String ClassName() const override { return L"TStream"; }

    // Transfer up to count bytes; return how many were transferred.
    virtual Int64 Read(void* buffer, Int64 count) = 0;
    virtual Int64 Write(const void* buffer, Int64 count) = 0;
    // Returns the new position.
    virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

    Int64 Position();
    void SetPosition(Int64 position);
    virtual Int64 Size();
    virtual void SetSize(Int64 newSize);

    // Transfer exactly count bytes or raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, Int64 count);
    void WriteBuffer(const void* buffer, Int64 count);
    // Copies count bytes from source's current position; count 0 copies all of source from its start.
    Int64 CopyFrom(TStream& source, Int64 count);
};

using THandle = platform::FileHandle;

// A stream over an OS file handle it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(THandle handle);
    String ClassName() const override { return L"THandleStream"; }

    THandle Handle() const { return handle_; }
    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    void SetSize(Int64 newSize) override;

protected:
    THandle handle_;
};

// A named file, opened or created on construction and closed on destruction.
// Failures raise EFOpenError / EFCreateError naming the file and the system's reason.
class TFileStream : public THandleStream {
public:
    TFileStream(const String& fileName, Word mode);
    ~TFileStream() override;
    String ClassName() const override { return L"TFileStream"; }
    const String& FileName() const { return fileName_; }

private:
    String fileName_;
};

// A stream over a block of memory someone else provides; read-only unless a subclass allows writes.
class TCustomMemoryStream : public TStream {
public:
    String ClassName() const override { return L"TCustomMemoryStream"; }

    void* Memory() const { return memory_; }
    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;  // writes nothing here
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override { return size_; }
    void SaveToStream(TStream& stream);
    void SaveToFile(const String& fileName);

protected:
    void SetPointer(void* memory, Int64 size);
    Int64 position_ = 0;

private:
    void* memory_ = nullptr;
    Int64 size_ = 0;
};

// A growable stream held in memory.
class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    String ClassName() const override { return L"TMemoryStream"; }

    Int64 Write(const void* buffer, Int64 count) override;
    void SetSize(Int64 newSize) override;  // keeps the existing bytes; new bytes are zero
    void Clear();
    void LoadFromStream(TStream& stream);  // replaces the contents with all of stream
    void LoadFromFile(const String& fileName);

private:
    std::vector<Byte> data_;
};

// A stream whose bytes live in a std::string.
class TStringStream : public TStream {
public:
    explicit TStringStream(std::string data = {});
    String ClassName() const override { return L"TStringStream"; }

    const std::string& DataString() const { return data_; }
    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    void SetSize(Int64 newSize) override;
    std::string ReadString(Int64 count);  // up to count bytes from the position
    void WriteString(const std::string& text);

private:
    std::string data_;
    Int64 position_ = 0;
};
