#include "framework/rtl/FileReplacement.h"

#include "framework/rtl/FileUtils.h"

TFileReplacement::TFileReplacement(const String& target, const String& prefix)
    : target_(target), temporary_(CreateTempFileBeside(target, prefix)) {
    try {
        stream_ = std::make_unique<TFileStream>(temporary_, fmCreate | fmShareExclusive);
    } catch (...) {
        DeleteFile(temporary_);
        throw;
    }
}

TFileReplacement::~TFileReplacement() { Discard(); }

TStream& TFileReplacement::Stream() {
    if (stream_ == nullptr) throw EInvalidOperation(L"The file \"" + target_ + L"\" is already closed");
    return *stream_;
}

void TFileReplacement::Commit() {
    if (stream_ == nullptr) throw EInvalidOperation(L"The file \"" + target_ + L"\" is already closed");
    stream_.reset();
    try {
        ReplaceFileWith(temporary_, target_);
    } catch (...) {
        DeleteFile(temporary_);
        throw;
    }
}

void TFileReplacement::Discard() noexcept {
    if (stream_ == nullptr) return;
    stream_.reset();
    DeleteFile(temporary_);
}
