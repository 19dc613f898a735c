// TLZH: the decoder of the skin archive's LZHUF stream (LzhTree.h describes the coding).
//
// Decoding pulls input and pushes output through two callbacks, a block at a time, and ends once
// count bytes are out. The input is trusted to nothing: a stream that ends early goes on as zero
// bits (the format has no end mark to check), so any input yields exactly count bytes, and a
// match that would run past count is cut there (the ring still takes all of it).
#pragma once

#include <functional>
#include <memory>

#include "framework/rtl/System.h"

FV_DECLARE_EXCEPTION(ElzhException, Exception);

inline constexpr const wchar_t* kLzhNoMemoryMessage = L"LZH : Cannot get memory for dictionary tables";

// Asks for up to count bytes into buffer; returns how many it delivered (0 at the end).
using TLzhReadBlock = std::function<Int64(Byte* buffer, Int64 count)>;
// Takes count bytes.
using TLzhWriteBlock = std::function<void(const Byte* buffer, Int64 count)>;

class TLZH : public TObject {
public:
    TLZH();
    ~TLZH() override;
    String ClassName() const override { return L"TLZH"; }

    // Writes exactly count bytes (none for count 0 or less). Raises ElzhException when the
    // tables cannot be had; whatever the callbacks raise passes through.
    void LZHUnpack(Int64 count, const TLzhWriteBlock& write, const TLzhReadBlock& read);

private:
    struct Tables;

    void AllocTables();
    void FreeTables();
    void FillBits();
    int GetBit();
    int GetByte();
    int DecodeChar();
    int DecodePosition();

    std::unique_ptr<Tables> tables_;  // during one LZHUnpack only
};
