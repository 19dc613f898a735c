// A whole prepared-report file loaded from disk: the bytes are written to a temporary file and
// opened as a user's file. What opens gives its pages, and saves to a file that opens the same.
#include <algorithm>
#include <cstdint>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "fuzz/FuzzPages.h"

using fuzz::Require;

namespace {

constexpr int kPagesFetched = 64;

// Two temporary files for the whole run, deleted at its end.
struct Files {
    String input = CreateTempFileName(L"fzq");
    String saved = CreateTempFileName(L"fzs");
    ~Files() {
        DeleteFile(input);
        DeleteFile(saved);
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Files& files = TheFiles();
    {
        TFileStream file(files.input, fmCreate);
        file.WriteBuffer(data, static_cast<Int64>(size));
    }
    TQRPageList list;
    try {
        list.LoadFromFile(files.input);
    } catch (const EQRCorruptFile&) {
        Require(list.Stream() == nullptr && list.PageCount() == 0);
        return 0;
    }
    const int count = list.PageCount();
    Require(count >= 0 && list.Stream() != nullptr);
    if (count >= 1) Require(fuzz::Fetch(list, count).page.has_value());  // the load read it whole
    std::vector<fuzz::Fetched> pages;
    for (int n = 1; n <= std::min(count, kPagesFetched); ++n) pages.push_back(fuzz::Fetch(list, n));

    list.WritePreparedFile(files.saved);
    TQRPageList reloaded;
    reloaded.LoadFromFile(files.saved);
    Require(reloaded.PageCount() == count && reloaded.Compression() == list.Compression());
    for (int n = 1; n <= static_cast<int>(pages.size()); ++n) Require(fuzz::Fetch(reloaded, n) == pages[n - 1]);
    return 0;
}
