#include "framework/rtl/StringList.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "framework/rtl/Streams.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
    std::vector<String> result;
    for (int i = 0; i < list.Count(); ++i) result.push_back(list[i]);
    return result;
}

void Fill(TStrings& list, const std::vector<String>& lines) {
    list.Clear();
    for (const String& line : lines) list.Add(line);
}

class Counted : public TObject {
public:
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }

private:
    int& alive_;
};

using V = std::vector<String>;

}  // namespace

TEST(StringListTest, TextSplitsAtEveryKindOfLineBreak) {
    struct Case {
        const wchar_t* text;
        V lines;
    } cases[] = {
        {L"a\r\nb", {L"a", L"b"}},        {L"a\nb\rc", {L"a", L"b", L"c"}}, {L"a\r\n", {L"a"}},
        {L"", {}},                         {L"\r\n", {L""}},                {L"a\n\nb", {L"a", L"", L"b"}},
        {L"a\r\rb", {L"a", L"", L"b"}},    {L"a\n\rb", {L"a", L"", L"b"}},  {L" x \r\n\r\n", {L" x ", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines);
    }
    TStringList list;
    Fill(list, {L"a", L"", L"b"});
    EXPECT_EQ(list.Text(), L"a\r\n\r\nb\r\n");
}

TEST(StringListTest, NamesAndValues) {
    TStringList list;
    list.SetText(L"Nome=João\r\nsolto\r\na=b=c\r\nVazio=");
    EXPECT_EQ(list.Names(0), L"Nome");
    EXPECT_EQ(list.Names(1), L"");
    EXPECT_EQ(list.Values(L"NOME"), L"João");
    EXPECT_EQ(list.Values(L"a"), L"b=c");
    EXPECT_EQ(list.Values(L"solto"), L"");
    EXPECT_EQ(list.ValueFromIndex(2), L"b=c");
    EXPECT_EQ(list.IndexOfName(L"vazio"), 3);

    list.SetValues(L"nome", L"Maria");  // replaced in place, under the name given now
    EXPECT_EQ(list[0], L"nome=Maria");
    list.SetValues(L"Idade", L"30");
    EXPECT_EQ(list[4], L"Idade=30");
    list.SetValues(L"a", L"");
    EXPECT_EQ(list.IndexOfName(L"a"), -1);
    list.SetValueFromIndex(0, L"Ana");
    EXPECT_EQ(list[0], L"nome=Ana");
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringListTest, CommaTextQuotingRoundTrips) {
    struct Case {
        V lines;
        const wchar_t* text;
    } cases[] = {
        {{L"a", L"b"}, L"a,b"},
        {{L"a b", L"c"}, L"\"a b\",c"},
        {{L"say \"hi\""}, L"\"say \"\"hi\"\"\""},
        {{L"a,b"}, L"\"a,b\""},
        {{L""}, L"\"\""},
        {{L"", L"x"}, L",x"},
        {{L"x", L""}, L"x,"},
        {{L"tab\there"}, L"\"tab\there\""},
        {{L"José", L"São Paulo"}, L"José,\"São Paulo\""},
        {{}, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TStringList list;
        Fill(list, c.lines);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.lines);
    }
}

TEST(StringListTest, CommaTextParsing) {
    struct Case {
        const wchar_t* text;
        V lines;
    } cases[] = {
        {L"a b,c", {L"a", L"b", L"c"}},
        {L"  a ,  b  ", {L"a", L"b"}},
        {L"\"x\"\"y\"", {L"x\"y"}},
        {L"\"open", {L"open"}},
        {L"\"a\"b,c", {L"a", L"b", L"c"}},
        {L"a,,b", {L"a", L"", L"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Lines(list), c.lines);
    }
}

TEST(StringListTest, DelimitedTextUsesItsOwnCharacters) {
    TStringList list;
    list.SetDelimiter(L';');
    list.SetQuoteChar(L'\'');
    Fill(list, {L"a;b", L"it's", L"c,d"});
    EXPECT_EQ(list.DelimitedText(), L"'a;b';'it''s';c,d");
    EXPECT_EQ(list.CommaText(), L"a;b,it's,\"c,d\"");
    TStringList back;
    back.SetDelimiter(L';');
    back.SetQuoteChar(L'\'');
    back.SetDelimitedText(list.DelimitedText());
    EXPECT_TRUE(back.Equals(list));
}

TEST(StringListTest, SortedListDuplicatePolicies) {
    struct Case {
        TDuplicates policy;
        V expected;
    } cases[] = {
        {dupIgnore, {L"a", L"b", L"c"}},
        {dupAccept, {L"a", L"B", L"b", L"c"}},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.policy);
        list.Add(L"c");
        list.Add(L"b");
        list.Add(L"a");
        int index = list.Add(L"B");
        EXPECT_EQ(index, 1);
        EXPECT_EQ(Lines(list), c.expected);
    }
    TStringList strict;
    strict.SetSorted(true);
    strict.SetDuplicates(dupError);
    strict.Add(L"x");
    try {
        strict.Add(L"X");
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), L"String list does not allow duplicates");
    }
    EXPECT_EQ(strict.Count(), 1);
    strict.SetCaseSensitive(true);
    strict.Add(L"X");
    EXPECT_EQ(strict.Count(), 2);
}

TEST(StringListTest, SortedListFindsAndRefusesPositionalEdits) {
    TStringList list;
    Fill(list, {L"pera", L"Uva", L"abacaxi", L"maçã"});
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (V{L"abacaxi", L"maçã", L"pera", L"Uva"}));
    int index = -1;
    EXPECT_TRUE(list.Find(L"PERA", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(L"banana", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.IndexOf(L"uva"), 3);
    EXPECT_THROW(list.Insert(0, L"z"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, L"z"), EStringListError);
    EXPECT_THROW(list.Move(0, 2), EStringListError);
    EXPECT_EQ(Lines(list), (V{L"abacaxi", L"maçã", L"pera", L"Uva"}));
}

TEST(StringListTest, IndexOfIgnoresCaseUnlessCaseSensitive) {
    TStringList list;
    Fill(list, {L"Ação", L"abc"});
    EXPECT_EQ(list.IndexOf(L"ABC"), 1);
    EXPECT_EQ(list.IndexOf(L"AÇÃO"), 0);
    EXPECT_EQ(list.IndexOf(L"abcd"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(L"ABC"), -1);
    EXPECT_EQ(list.IndexOf(L"abc"), 1);
}

TEST(StringListTest, CustomSortAndMoves) {
    TStringList list;
    Fill(list, {L"ccc", L"a", L"bb"});
    list.CustomSort([](TStringList& l, int i, int j) {
        return static_cast<int>(l[i].size()) - static_cast<int>(l[j].size());
    });
    EXPECT_EQ(Lines(list), (V{L"a", L"bb", L"ccc"}));
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (V{L"bb", L"ccc", L"a"}));
    list.Move(2, 0);
    list.Exchange(0, 1);
    EXPECT_EQ(Lines(list), (V{L"bb", L"a", L"ccc"}));
}

TEST(StringListTest, IndexErrors) {
    TStringList list;
    list.Add(L"x");
    try {
        list.Get(1);
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), L"List index out of bounds (1)");
    }
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_THROW(list.Insert(3, L"y"), EStringListError);
    EXPECT_THROW(list.Objects(2), EStringListError);
    EXPECT_THROW(list.Exchange(0, 1), EStringListError);
}

TEST(StringListTest, OwnsObjectsFreesThem) {
    int alive = 0;
    {
        TStringList list(true);
        for (int i = 0; i < 4; ++i) list.AddObject(L"item", new Counted(alive));
        list.Delete(0);
        EXPECT_EQ(alive, 3);
        list.Move(0, 2);  // moving keeps the object
        EXPECT_EQ(alive, 3);
        EXPECT_NE(list.Objects(2), nullptr);
        list.Clear();
        EXPECT_EQ(alive, 0);
        list.AddObject(L"last", new Counted(alive));
    }
    EXPECT_EQ(alive, 0);
    Counted kept(alive);
    {
        TStringList list;  // not owning by default
        list.AddObject(L"k", &kept);
        list.Clear();
    }
    EXPECT_EQ(alive, 1);
}

TEST(StringListTest, ChangeEventsFireOncePerUpdate) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add(L"a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.BeginUpdate();
    list.Add(L"b");
    list.BeginUpdate();
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.SetText(L"x\r\ny\r\nz");
    EXPECT_EQ(changed, 3);
}

TEST(StringListTest, AssignAddStringsEquals) {
    TStringList a, b;
    Fill(a, {L"um", L"dois"});
    int dummy = 0;
    Counted object(dummy);
    a.SetObjects(1, &object);
    b.Add(L"old");
    b.Assign(a);
    EXPECT_TRUE(b.Equals(a));
    EXPECT_EQ(b.Objects(1), &object);
    b.AddStrings(b);
    EXPECT_EQ(Lines(b), (V{L"um", L"dois", L"um", L"dois"}));
    EXPECT_FALSE(b.Equals(a));
    a.Assign(b);
    a.SetStrings(0, L"UM");
    EXPECT_FALSE(a.Equals(b));  // exact comparison
}

TEST(StringListTest, StreamsAndFilesHoldAnsiText) {
    TStringList list;
    Fill(list, {L"linha 1", L"", L"fim"});
    TStringStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.DataString(), "linha 1\r\n\r\nfim\r\n");

    TStringStream input("x\ny\r\n");
    TStringList loaded;
    loaded.LoadFromStream(input);
    EXPECT_EQ(Lines(loaded), (V{L"x", L"y"}));

    String name = CreateTempFileName(L"fvl");
    list.SaveToFile(name);
    TStringList fromFile;
    fromFile.LoadFromFile(name);
    EXPECT_TRUE(fromFile.Equals(list));
    DeleteFile(name);
    EXPECT_THROW(fromFile.LoadFromFile(name), EFOpenError);
}
