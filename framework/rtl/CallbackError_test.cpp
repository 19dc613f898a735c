#include "framework/rtl/CallbackError.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/rtl/System.h"

namespace {

// A walk as the system makes one: a plain function called per item until it answers false.
using TVisit = int (*)(int item, void* param);
void Walk(TVisit visit, void* param) {
    for (int item = 1; item <= 5; ++item)
        if (!visit(item, param)) return;
}

struct TCollect {
    std::vector<int> Seen;
    TCallbackError Error;
};

int Visit(int item, void* param) {
    auto* collect = static_cast<TCollect*>(param);
    return collect->Error.Run([&] {
        if (item == 3) throw EConvertError(L"item 3 is bad");
        collect->Seen.push_back(item);
        return true;
    });
}

}  // namespace

TEST(CallbackErrorTest, AnExceptionStopsTheWalkAndIsRaisedAfterIt) {
    TCollect collect;
    Walk(Visit, &collect);
    EXPECT_EQ(collect.Seen, (std::vector<int>{1, 2}));
    EXPECT_THROW(collect.Error.Rethrow(), EConvertError);

    TCallbackError none;
    EXPECT_TRUE(none.Run([] { return true; }));
    EXPECT_NO_THROW(none.Rethrow());
}
