#include "webupdate/UpdateAddress.h"

#include <gtest/gtest.h>

TEST(SplitURL, HostAndPathByTheRulesOfThePage) {
    struct Case {
        const wchar_t* Url;
        const wchar_t* Host;
        const wchar_t* Path;
    };
    const Case cases[] = {
        {L"http://www.exemplo.com.br/a/b.htm", L"www.exemplo.com.br", L"/a/b.htm"},
        {L"HTTP://h/x", L"h", L"/x"},                       // the prefix goes in any case
        {L"setup.exe", L"", L"setup.exe"},                  // no "/": all of it is the path
        {L"/folhavida/setup.exe", L"", L"/folhavida/setup.exe"},  // a leading "/": no host
        {L"http://host", L"", L"host"},
        {L"http://host/", L"host", L"/"},
        {L"ftp://x/http://y", L"", L"/http://y"},           // "http://" anywhere drops the first seven
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        const TWuAddress a = SplitURL(c.Url);
        EXPECT_EQ(a.Host, c.Host) << c.Url;
        EXPECT_EQ(a.Path, c.Path) << c.Url;
    }
}

TEST(WithHttpPrefix, AddedOnlyWhenMissing) {
    EXPECT_EQ(WithHttpPrefix(L""), L"http://");
    EXPECT_EQ(WithHttpPrefix(L"www.x.com/u.htm"), L"http://www.x.com/u.htm");
    EXPECT_EQ(WithHttpPrefix(L"HTTP://www.x.com/u.htm"), L"HTTP://www.x.com/u.htm");
    EXPECT_EQ(WithHttpPrefix(L"http://"), L"http://");
}

TEST(IsPlainFileName, OnlyABareNameInTheTargetFolder) {
    for (const wchar_t* good : {L"setup.exe", L"Folhavida 3.1.exe", L"a", L"x.y.z"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    for (const wchar_t* bad : {L"", L"..", L"..\\setup.exe", L"../setup.exe", L"sub\\setup.exe", L"sub/setup.exe",
                               L"C:setup.exe", L"C:\\Windows\\x.exe", L"\\\\server\\share\\x.exe", L"a..b.exe",
                               L"setup.exe:stream", L"set*up.exe", L"setup.exe.", L"setup.exe ", L"tab\there"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}
