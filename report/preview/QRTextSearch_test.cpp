// Text search in pages: metafiles drawn here through the GDI, and hand-made record streams for
// what a damaged or hostile file may hold.
#include "report/preview/QRTextSearch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

// A page whose texts are drawn one record each, one under the other.
std::unique_ptr<TMetafile> PageWithTexts(std::initializer_list<const wchar_t*> texts) {
    auto metafile = std::make_unique<TMetafile>();
    metafile->SetWidth(400);
    metafile->SetHeight(300);
    {
        TMetafileCanvas canvas(*metafile, nullptr);
        int y = 10;
        for (const wchar_t* text : texts) {
            canvas.TextOut(10, y, text);
            y += 20;
        }
    }
    return metafile;
}

void Put32(std::vector<Byte>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<Byte>(value >> (8 * i));
}

// A wide text-out record; chars and offset may be given to lie about the text.
std::vector<Byte> TextRecord(const String& text, std::int64_t chars = -1, std::int64_t offset = -1) {
    const std::size_t textBytes = (text.size() * 2 + 3) / 4 * 4;
    std::vector<Byte> record(76 + textBytes, 0);
    Put32(record, 0, 84);
    Put32(record, 4, static_cast<std::uint32_t>(record.size()));
    Put32(record, 44, static_cast<std::uint32_t>(chars < 0 ? static_cast<std::int64_t>(text.size()) : chars));
    Put32(record, 48, static_cast<std::uint32_t>(offset < 0 ? 76 : offset));
    for (std::size_t i = 0; i < text.size(); ++i) {
        record[76 + 2 * i] = static_cast<Byte>(text[i] & 0xFF);
        record[76 + 2 * i + 1] = static_cast<Byte>(text[i] >> 8);
    }
    return record;
}

std::vector<Byte> Joined(std::initializer_list<std::vector<Byte>> records) {
    std::vector<Byte> bytes;
    for (const auto& record : records) bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

bool Find(const String& text, const std::vector<Byte>& bytes, bool matchCase = false) {
    return FindTextInMetafileBytes(text, bytes.data(), bytes.size(), matchCase);
}

}  // namespace

TEST(QRTextSearch, DrawnPages) {
    auto page = PageWithTexts({L"Currículo de Ana", L"Formação acadêmica", L"Curr", L"ículo"});
    struct Row {
        const wchar_t* text;
        bool matchCase;
        bool found;
    } rows[] = {
        {L"Ana", false, true},
        {L"ana", false, true},
        {L"ana", true, false},
        {L"FORMAÇÃO", false, true},   // upper-cased by the locale, accents included
        {L"formação", true, false},
        {L"Formação", true, true},
        {L"acadêmica", true, true},
        {L"CurrÍculo de", false, true},
        {L"Curríc", true, true},
        {L"Curr\u00EDculo de Ana Maria", false, false},
        {L"Currículo", false, true},  // in the first record whole
        {L"Curr\nículo", false, false},
        {L"\u0141na", false, false},  // U+0141's low byte is 'A': the whole character counts
        {L"Ana", false, true},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(testing::Message() << "row " << i);
        EXPECT_EQ(FindTextInMetafile(row.text, page.get(), row.matchCase), row.found);
    }
    EXPECT_FALSE(FindTextInMetafile(L"Ana", nullptr, false));
    TMetafile empty;
    EXPECT_FALSE(FindTextInMetafile(L"Ana", &empty, false));
}

TEST(QRTextSearch, TextSplitOverTwoRecordsIsNotFound) {
    auto page = PageWithTexts({L"Experiência pro", L"fissional"});
    EXPECT_TRUE(FindTextInMetafile(L"pro", page.get(), true));
    EXPECT_TRUE(FindTextInMetafile(L"fissional", page.get(), true));
    EXPECT_FALSE(FindTextInMetafile(L"profissional", page.get(), false));
}

TEST(QRTextSearch, HostileRecordsAreCheckedAgainstTheirSize) {
    const std::vector<Byte> good = TextRecord(L"Telefone");
    EXPECT_TRUE(Find(L"telefone", good));
    struct Row {
        const char* what;
        std::vector<Byte> bytes;
        bool found;
    } rows[] = {
        {"characters past the record", Joined({TextRecord(L"Telefone", 0x7FFFFFFF), good}), true},
        {"character count overflowing", Joined({TextRecord(L"Telefone", 0x80000001), good}), true},
        {"string offset past the record", Joined({TextRecord(L"Telefone", -1, 0xFFFFFFF0), good}), true},
        {"string offset at the end", Joined({TextRecord(L"Telefone", 1, 84 + 16), good}), true},
        {"text before the fields", Joined({TextRecord(L"x", 1, 2)}), false},
        {"a truncated record", std::vector<Byte>(good.begin(), good.end() - 4), false},
        {"record size zero", [] {
             std::vector<Byte> bytes = Joined({TextRecord(L"a"), TextRecord(L"Telefone")});
             Put32(bytes, 4, 0);
             return bytes;
         }(), false},
        {"record size past the end", [] {
             std::vector<Byte> bytes = TextRecord(L"Telefone");
             Put32(bytes, 4, 0xFFFFFFFC);
             return bytes;
         }(), false},
        {"record too short for its text fields", [] {
             std::vector<Byte> bytes(48, 0);
             Put32(bytes, 0, 84);
             Put32(bytes, 4, 48);
             return Joined({bytes, TextRecord(L"Telefone")});
         }(), true},
        {"a few stray bytes", std::vector<Byte>{84, 0, 0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Find(L"Telefone", row.bytes), row.found);
    }
    EXPECT_FALSE(FindTextInMetafileBytes(L"x", nullptr, 0, false));
}
