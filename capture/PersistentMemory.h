// TPersistentMemory: an owned byte block stored as the binary property "data" (a 32-bit length,
// then the bytes). TBaseFilter: such a block holding a device moniker, from which the device's
// filter is created.
#pragma once

#include <vector>

#include "capture/DirectShow.h"
#include "capture/ComPtr.h"
#include "framework/classes/Persistent.h"

class TPersistentMemory : public TPersistent {
    FV_CLASS(TPersistentMemory, TPersistent)
public:
    TPersistentMemory() = default;

    const std::vector<Byte>& Data() const { return data_; }
    Cardinal DataLength() const { return static_cast<Cardinal>(data_.size()); }
    // Drops the block; a length above 0 gives a zeroed block of that many bytes.
    void SetDataLength(Cardinal length);
    void SetData(std::vector<Byte> data) { data_ = std::move(data); }
    // Equal blocks that are not empty: an empty block is always stored.
    bool IsEqual(const TPersistentMemory& other) const;

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    std::vector<Byte> data_;
};

class TBaseFilter : public TPersistentMemory {
    FV_CLASS(TBaseFilter, TPersistentMemory)
public:
    TBaseFilter() = default;

    // Keeps moniker as the stream its persistence writes, or, where the system cannot save it
    // (Wine's device monikers), by its display name; null empties the block.
    void StoreMoniker(IMoniker* moniker);
    // The stored moniker again; null for an empty block or one that cannot be rebuilt.
    TComPtr<IMoniker> LoadMoniker() const;
    // The stored device's filter; null when nothing is stored or the device cannot be bound.
    TComPtr<IBaseFilter> CreateFilter() const;
};
