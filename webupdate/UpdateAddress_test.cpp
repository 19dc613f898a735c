#include "webupdate/UpdateAddress.h"

#include <gtest/gtest.h>

TEST(SplitURL, HostAndPathByTheRulesOfThePage) {
    struct Case {
        const wchar_t* Url;
        bool Valid;
        const wchar_t* Host;
        const wchar_t* Path;
    };
    const Case cases[] = {
        {L"http://www.exemplo.com.br/a/b.htm", true, L"www.exemplo.com.br", L"/a/b.htm"},
        {L"HTTP://h/x", true, L"h", L"/x"},                       // the prefix goes in any case
        {L"setup.exe", true, L"", L"setup.exe"},                  // no "/": all of it is the path
        {L"/folhavida/setup.exe", true, L"", L"/folhavida/setup.exe"},  // a leading "/": no host
        {L"http://host", true, L"", L"host"},
        {L"http://host/", true, L"host", L"/"},
        {L"", true, L"", L""},
        // Only an address that starts with the prefix loses it; other schemes are not fetched.
        {L"ftp://x/http://y", false, L"", L""},
        {L"file://127.0.0.1/c:/x.htm?x&http://", false, L"", L""},
        {L"FILE:///c:/x", false, L"", L""},
        {L"C:\\x\\setup.exe", false, L"", L""},
        {L"//server/share/setup.exe", false, L"", L""},
        {L"\\\\server\\share\\setup.exe", false, L"", L""},
        {L"http://user@evil/x", false, L"", L""},
        {L"http://h:81/x", false, L"", L""},
        {L"http://h/x\r\nHost: y", false, L"", L""},
        {L"/a?b=c:d", true, L"", L"/a?b=c:d"},                    // a ":" after the first "/" is the path's
    };
    for (const Case& c : cases) {
        const TWuAddress a = SplitURL(c.Url);
        EXPECT_EQ(a.Valid, c.Valid) << c.Url;
        if (!c.Valid) continue;
        EXPECT_EQ(a.Host, c.Host) << c.Url;
        EXPECT_EQ(a.Path, c.Path) << c.Url;
    }
}

TEST(RedirectPath, OnlyToTheSameHostAndPort) {
    struct Case {
        const wchar_t* Location;
        Word Port;
        const wchar_t* Path;  // null: refused
    };
    const Case cases[] = {
        {L"/b.htm", 80, L"/b.htm"},
        {L"http://h.com/b.htm", 80, L"/b.htm"},
        {L"HTTP://H.COM:80/b", 80, L"/b"},
        {L"http://h.com:8080/b", 8080, L"/b"},
        {L"http://h.com", 80, L"/"},
        {L"http://h.com/b", 8080, nullptr},          // another port
        {L"http://h.com:81/b", 80, nullptr},
        {L"http://other.com/b", 80, nullptr},        // another host
        {L"http://h.com.evil/b", 80, nullptr},
        {L"http://h.com@evil/b", 80, nullptr},
        {L"//other.com/b", 80, nullptr},             // scheme-relative: another host
        {L"https://h.com/b", 80, nullptr},
        {L"file:///c:/x", 80, nullptr},
        {L"b.htm", 80, nullptr},                     // relative paths are not followed
        {L"http://h.com:99999/b", 80, nullptr},
        {L"", 80, nullptr},
    };
    for (const Case& c : cases) {
        String path;
        const bool ok = RedirectPath(c.Location, L"h.com", c.Port, path);
        EXPECT_EQ(ok, c.Path != nullptr) << c.Location;
        if (ok && c.Path != nullptr) {
            EXPECT_EQ(path, c.Path) << c.Location;
        }
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

TEST(IsAcceptableSetupName, OnlyANewProgramNotOneThatShipsOrADevice) {
    const std::vector<String> reserved = {L"Folhavida.exe", L"update.exe"};
    for (const wchar_t* good : {L"setup.exe", L"Folhavida 3.1.exe", L"SETUP.EXE", L"folhavida-setup.exe"})
        EXPECT_TRUE(IsAcceptableSetupName(good, reserved)) << good;
    const wchar_t* bad[] = {
        L"", L".exe", L"setup", L"setup.bat", L"setup.exe.txt", L"evil.cmd", L"setup.exe:x", L"..\\setup.exe",
        L"Folhavida.exe", L"FOLHAVIDA.EXE", L"update.exe", L"Update.Exe", L"update-server.txt", L"x.dll",
        L"FOLHAV~1.EXE",  // the short alias of Folhavida.exe
        L"CON.exe", L"con.exe", L"NUL.exe", L"aux.exe", L"PRN.exe", L"COM1.exe", L"com9.exe", L"LPT1.exe",
        L"lpt9.exe", L"CON .exe", L"nul.tar.exe", L"COM\u00B9.exe",
        L"setup\u202Eexe.txt.exe", L"a\u200Eb.exe", L"a\u200Fb.exe", L"a\u202Ab.exe", L"a\u2066b.exe",
        L"a\u2069b.exe", L"a\u200Bb.exe", L"a\u0085b.exe", L"a\tb.exe"};
    for (const wchar_t* name : bad) EXPECT_FALSE(IsAcceptableSetupName(name, reserved)) << name;
    EXPECT_TRUE(IsAcceptableSetupName(L"COM10.exe", reserved)) << "not a device";
    EXPECT_TRUE(IsAcceptableSetupName(L"console.exe", reserved));
}

TEST(DisplayableText, ControlFormatAndBidiCharactersGo) {
    EXPECT_EQ(DisplayableText(L"Equipe \u202Eadidnaf\u202C & Cia"), L"Equipe adidnaf & Cia");
    EXPECT_EQ(DisplayableText(L"a\tb\r\nc\u0007\u200E\u200F\u2066\u2069\uFEFFd"), L"abcd");
    EXPECT_EQ(DisplayableText(L"Jos\u00E9 da Silva"), L"Jos\u00E9 da Silva");
}
