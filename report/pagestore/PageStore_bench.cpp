// Page-store figures: the coder's throughput on drawn page metafiles, and appending then
// fetching 1000 pages with the store in memory and spilled to its temporary file (in order,
// then scattered: jumps both ways, reported per fetch too).
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRPageList.h"
#include "testing/QRDrawnPages.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CoderThroughput(const std::vector<TQRPageBytes>& pages) {
    std::size_t plain = 0, coded = 0;
    std::vector<std::vector<Byte>> codes;
    for (const TQRPageBytes& page : pages) {
        plain += page.size();
        codes.push_back(TQRCompress::Compress(page));
        coded += codes.back().size();
    }
    const int rounds = 20;
    auto start = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (const TQRPageBytes& page : pages) TQRCompress::Compress(page);
    const double compressSeconds = SecondsSince(start);
    start = Clock::now();
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < pages.size(); ++i) TQRCompress::Decompress(codes[i], pages[i].size());
    const double decompressSeconds = SecondsSince(start);
    const double megabytes = static_cast<double>(plain) * rounds / (1024.0 * 1024.0);
    std::printf("coder: %zu drawn pages, %zu bytes, coded to %zu bytes (%.1f%%)\n", pages.size(), plain, coded,
                100.0 * static_cast<double>(coded) / static_cast<double>(plain));
    std::printf("coder: compress %.1f MB/s, decompress %.1f MB/s\n", megabytes / compressSeconds,
                megabytes / decompressSeconds);
}

void AppendAndFetch(const std::vector<TQRPageBytes>& pages, Int64 memoryLimit, bool compressed, const char* label) {
    const int count = 1000;
    TQRPageList list;
    list.SetCompression(compressed);
    list.SetStream(std::make_unique<TQRStream>(memoryLimit));
    auto start = Clock::now();
    for (int n = 0; n < count; ++n) list.AddPageBytes(pages[static_cast<std::size_t>(n) % pages.size()]);
    const double appendSeconds = SecondsSince(start);
    start = Clock::now();
    for (int n = 1; n <= count; ++n) list.GetPageBytes(n);
    const double forwardSeconds = SecondsSince(start);
    start = Clock::now();
    for (int n = 0; n < count; ++n) list.GetPageBytes(1 + (n * 389) % count);  // jumps both ways
    const double scatteredSeconds = SecondsSince(start);
    std::printf("%-24s %-7s %8.1f KB: append %6.1f ms, fetch in order %6.1f ms, scattered %6.1f ms = %6.1f us/fetch\n",
                label, list.Stream()->InMemory() ? "memory" : "spilled",
                static_cast<double>(list.Stream()->Size()) / 1024.0, appendSeconds * 1000, forwardSeconds * 1000,
                scatteredSeconds * 1000, scatteredSeconds * 1e6 / count);
}

}  // namespace

int main() {
    std::vector<TQRPageBytes> pages;
    for (int n = 1; n <= 20; ++n) pages.push_back(qrtest::DrawnPageEmf(n));
    CoderThroughput(pages);
    const Int64 unlimited = Int64{1} << 30, defaultLimit = 250000;
    AppendAndFetch(pages, unlimited, false, "1000 pages, plain");
    AppendAndFetch(pages, defaultLimit, false, "1000 pages, plain");
    AppendAndFetch(pages, unlimited, true, "1000 pages, compressed");
    AppendAndFetch(pages, defaultLimit, true, "1000 pages, compressed");
    return 0;
}
