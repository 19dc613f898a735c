// The page-record walk over any stream image, with pages fetched in an order the input chooses.
// Input: a count k (first byte, up to 16), k signed bytes choosing the steps (n > 0 fetches page
// n, n < 0 positions the stream at page -n, 0 winds to the last page), then the stream image.
// Whatever the order, each page gives the same result as in a walk from the first page on.
#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "fuzz/FuzzPages.h"

using fuzz::Fetched;
using fuzz::Require;

namespace {

void Step(TQRPageList& list, int n, std::map<int, Fetched>& results) {
    try {
        if (n == 0) list.WindToLastPage();
        if (n < 0) list.SeekToPage(-n);
    } catch (const EQRCorruptFile&) {
    }
    if (n <= 0) return;
    const Fetched fetched = fuzz::Fetch(list, n);
    const auto [known, fresh] = results.emplace(n, fetched);
    Require(fresh || known->second == fetched);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t steps = std::min<std::size_t>(data[0] % 17, size - 1);
    const std::span<const Byte> image(data + 1 + steps, size - 1 - steps);

    TQRPageList list;
    list.SetStream(fuzz::StreamOf(image));
    try {
        list.ReadHeader();
    } catch (const EQRCorruptFile&) {
        return 0;
    }
    std::map<int, Fetched> results;
    for (std::size_t i = 0; i < steps; ++i) Step(list, static_cast<std::int8_t>(data[1 + i]), results);

    TQRPageList inOrder;
    inOrder.SetStream(fuzz::StreamOf(image));
    inOrder.ReadHeader();
    for (const auto& [n, fetched] : results) Require(fuzz::Fetch(inOrder, n) == fetched);
    return 0;
}
