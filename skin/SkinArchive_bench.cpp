// Figures of the skin archive: decoding speed on our skin and on random bytes, the time to unpack
// our skin and read its description, and its packed size. Prints them; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "skin/Lzh.h"
#include "skin/LzhEncode.h"
#include "skin/SkinIni.h"
#include "skin/SkinRead.h"
#include "skin/testing/SkinFixtures.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// MB/s of output decoding stream (count bytes) again and again for about a second.
double DecodeSpeed(const std::vector<Byte>& stream, Int64 count) {
    std::vector<Byte> out(static_cast<std::size_t>(count));
    int rounds = 0;
    const auto start = Clock::now();
    do {
        std::size_t at = 0, written = 0;
        TLZH lzh;
        lzh.LZHUnpack(
            count, [&](const Byte* b, Int64 n) { std::copy(b, b + n, out.begin() + static_cast<std::ptrdiff_t>(written)); written += static_cast<std::size_t>(n); },
            [&](Byte* b, Int64 n) {
                const std::size_t take = std::min(static_cast<std::size_t>(n), stream.size() - at);
                std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), take, b);
                at += take;
                return static_cast<Int64>(take);
            });
        ++rounds;
    } while (Seconds(start) < 1.0);
    return static_cast<double>(count) * rounds / Seconds(start) / 1e6;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::vector<Byte> packed = OurPackedSkin();
    const Int64 unpackedSize = packed[0] | packed[1] << 8 | packed[2] << 16 | packed[3] << 24;
    const std::vector<Byte> stream(packed.begin() + 4, packed.end());
    std::printf("our skin: %zu bytes packed, %lld unpacked\n", packed.size(), static_cast<long long>(unpackedSize));
    std::printf("decoding our skin: %.1f MB/s of output\n", DecodeSpeed(stream, unpackedSize));

    std::mt19937 random(1);
    std::vector<Byte> noise(1 << 20);
    for (Byte& b : noise) b = static_cast<Byte>(random());
    std::printf("decoding random bytes: %.1f MB/s of output\n", DecodeSpeed(LzhPack(noise), static_cast<Int64>(noise.size())));

    // What loading a skin starts with: unpack, check, extract and read the description.
    const int rounds = 50;
    // Medians: the machine this runs on is often busy with other work.
    std::vector<double> unpacking, describing;
    for (int i = 0; i < rounds; ++i) {
        auto start = Clock::now();
        TMemoryStream in;
        in.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
        TSkinReader reader;
        if (!reader.LoadFromStream(in)) return 1;
        unpacking.push_back(Seconds(start) * 1000);
        start = Clock::now();
        TMemoryStream description;
        std::string name;
        reader.ExtractByPart(".ini", description, name);
        TQuickIni ini;
        ini.LoadFromStream(&description);
        describing.push_back(Seconds(start) * 1000);
    }
    std::printf("unpacking and checking our skin: %.2f ms; reading its description: %.2f ms (medians)\n",
                Median(unpacking), Median(describing));
    return 0;
}
