#include "webupdate/VersionCompare.h"

#include <gtest/gtest.h>

TEST(IsNewerVersion, EachFormat) {
    struct Case {
        const wchar_t* Local;
        const wchar_t* Web;
        TWuVersionFormat Format;
        bool Newer;
    };
    const Case cases[] = {
        {L"0", L"1.0", vfStandard, true},
        {L"2.0.1", L"2.0.1", vfStandard, false},
        {L"1.0", L"1", vfStandard, false},
        {L"2.0", L"2.0.1", vfStandard, false},  // only as many parts as the installed version has
        {L"1.9", L"1.10", vfStandard, true},
        {L"1.a", L"1.0", vfStandard, false},    // a part that is no number counts as 0
        {L"0", L"0.5", vfStandard, false},
        {L"0", L"0", vfStandard, false},
        {L"2.0.1", L"2.1", vfStandard, true},
        {L"2.0.1", L"1.9.9", vfStandard, false},
        {L"1.2", L"1.1.9", vfStandard, false},
        {L"", L"", vfStandard, false},
        {L"1.", L"1.5", vfStandard, true},
        {L"1.9", L"1.10", vfString, false},
        {L"1.0", L"1.0a", vfString, true},
        {L"a", L"B", vfString, false},           // ordinal: upper case sorts first
        {L"1.5", L"1.6", vfNumber, true},
        {L"1.5", L"1.5", vfNumber, false},
        {L"1,5", L"2", vfNumber, false},         // no number with a decimal comma
        {L"1.5", L"x", vfNumber, false},
        {L"2", L"10", vfNumber, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.Local, c.Web, c.Format), c.Newer)
            << "local " << testing::PrintToString(String(c.Local)) << " web " << testing::PrintToString(String(c.Web))
            << " format " << c.Format;
}

TEST(IsNewerVersion, AnUnknownFormatIsNeverNewer) {
    EXPECT_FALSE(IsNewerVersion(L"1", L"2", static_cast<TWuVersionFormat>(7)));
}
