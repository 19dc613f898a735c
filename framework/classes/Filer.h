// Properties stored in a format of their own (DefineProperties), shared by reader and writer.
#pragma once

#include <functional>
#include <vector>

#include "framework/rtl/System.h"

class TComponent;
class TReader;
class TWriter;
class TStream;

class TFiler {
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;
    using TStreamProc = std::function<void(TStream&)>;

    virtual ~TFiler() = default;

    // A property whose value the procs read and write with the reader's and writer's value
    // calls (one value, which may be a list). hasData false: nothing is written.
    virtual void DefineProperty(const String& name, const TReaderProc& read,
                                const TWriterProc& write, bool hasData) = 0;
    // A property stored as bytes ({ hex }). The read proc gets a stream over exactly those bytes.
    virtual void DefineBinaryProperty(const String& name, const TStreamProc& read,
                                      const TStreamProc& write, bool hasData) = 0;
    virtual TComponent* Root() const = 0;
};

// A string list (not a persistent) that stores properties of its own beside its lines, written
// as "List.Name = value" after "List.Strings".
class TStringsStoredProperties {
public:
    virtual ~TStringsStoredProperties() = default;
    virtual void DefineProperties(TFiler& filer) = 0;
};

// For binary readers: raises EReadError "Invalid binary data length %d" unless
// 0 <= length <= the bytes left in stream.
void CheckBinaryLength(TStream& stream, Int64 length);
// A 32-bit little-endian length and that many bytes, the length checked before anything is read.
std::vector<Byte> ReadLengthPrefixedBytes(TStream& stream);
void WriteLengthPrefixedBytes(TStream& stream, const std::vector<Byte>& bytes);
