// The page store's byte stream: held in memory up to a limit, then moved to a temporary file
// (prefix "QRP") that is deleted with the stream. A stream opened on a user's prepared-report
// file reads it in place and never deletes it. Every operation holds the stream's lock.
#pragma once

#include <memory>

#include "framework/rtl/Streams.h"
#include "framework/rtl/SyncObjs.h"
#include "framework/rtl/System.h"

class TQRStream : public TStream {
public:
    // In memory until a write makes it larger than memoryLimit bytes.
    explicit TQRStream(Int64 memoryLimit);
    // On an existing file, read-only, sharing it with other readers and writers.
    explicit TQRStream(const String& fileName);
    ~TQRStream() override;
    String ClassName() const override { return L"TQRStream"; }

    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override;
    void SetSize(Int64 newSize) override;

    // Copies everything into target in blocks of up to 10240 bytes; the position ends at the end.
    void CopyIntoStream(TStream& target);
    // Length of the prepared-report header at the start: 128, 124, 120 or 96. Keeps the position.
    int HeaderSize();

    bool InMemory() const { return inMemory_; }
    // The temporary file after spilling; empty while in memory and for a user's file.
    const String& TempFileName() const { return fileName_; }
    // The user's file this stream was opened on; empty otherwise.
    String SourceFileName() const;

private:
    void SpillToFile();
    TStream& Active();

    TCriticalSection lock_;
    std::unique_ptr<TMemoryStream> memory_;
    String fileName_;
    std::unique_ptr<TFileStream> file_;
    bool inMemory_;
    Int64 memoryLimit_;
};
