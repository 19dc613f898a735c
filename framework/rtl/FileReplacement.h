// TFileReplacement: a file written as a whole or not at all. The bytes go into a temporary file
// beside the target (so the final rename stays on one volume); Commit closes it and puts it in
// the target's place. A replacement freed without Commit deletes its temporary file, so an
// error or a cancelled write leaves the target exactly as it was.
#pragma once

#include <memory>

#include "framework/rtl/Streams.h"

class TFileReplacement {
public:
    // Creates the temporary file; EFCreateError naming target when the folder takes no file.
    // prefix: up to three characters that start the temporary file's name.
    TFileReplacement(const String& target, const String& prefix);
    // Not committed: the temporary file is closed and deleted.
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    const String& Target() const { return target_; }
    const String& TemporaryName() const { return temporary_; }
    // Where the new contents go, until Commit or Discard.
    TStream& Stream();
    bool Open() const { return stream_ != nullptr; }

    // Closes the temporary file and replaces the target with it. EFCreateError naming the target
    // when that fails; the temporary file is deleted then too.
    void Commit();
    // Closes and deletes the temporary file; the target is left alone.
    void Discard() noexcept;

private:
    String target_;
    String temporary_;
    std::unique_ptr<TFileStream> stream_;
};
