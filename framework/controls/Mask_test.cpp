#include "framework/controls/Mask.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const PhoneMask = L"!\\(99\\)0000-0000;1;_";

// Types keys into an empty field with the caret at the start; '\b' is backspace, '\x7F' delete.
TMaskEditState Type(const TEditMask& mask, const String& keys, int* refused = nullptr) {
    TMaskEditState state{mask.EmptyEditText(), 0, 0};
    for (wchar_t k : keys) {
        if (k == L'\b')
            mask.Backspace(state);
        else if (k == L'\x7F')
            mask.DeleteForward(state);
        else if (!mask.TypeChar(state, k) && refused)
            ++*refused;
    }
    return state;
}

TEST(EditMask, PhoneMaskSectionsAndEmptyText) {
    TEditMask mask(PhoneMask);
    EXPECT_EQ(mask.Length(), 13);
    EXPECT_TRUE(mask.SaveLiterals());
    EXPECT_TRUE(mask.FillFromRight());
    EXPECT_EQ(mask.Blank(), L'_');
    EXPECT_EQ(mask.EmptyEditText(), L"(__)____-____");
    EXPECT_EQ(mask.EditTextToText(mask.EmptyEditText()), L"(  )    -    ");
    EXPECT_EQ(mask.TextToEditText(L"(  )    -    "), L"(__)____-____");
    EXPECT_EQ(mask.FirstMissing(L"(__)____-____"), 4);  // the brackets' digits are optional
    EXPECT_TRUE(mask.IsComplete(L"(__)9876-5432"));
    EXPECT_EQ(mask.FirstMissing(L"(11)9876-543_"), 12);
}

struct TypingCase {
    const wchar_t* Mask;
    const wchar_t* Keys;
    const wchar_t* EditText;
    const wchar_t* Text;
    int Refused;
    int Caret;
};

TEST(EditMask, TypingTable) {
    const TypingCase cases[] = {
        {PhoneMask, L"1198765432", L"(11)9876-5432", L"(11)9876-5432", 0, 13},
        {PhoneMask, L"(11)9876-5432", L"(11)9876-5432", L"(11)9876-5432", 0, 13},
        {PhoneMask, L"11a98x", L"(11)98__-____", L"(11)98  -    ", 2, 6},
        {PhoneMask, L"1198\b\b7", L"(11)7___-____", L"(11)7   -    ", 0, 5},
        {PhoneMask, L"12\b\b\b", L"(__)____-____", L"(  )    -    ", 0, 1},
        // upper-case and lower-case sections, with <> ending the conversion
        {L">LL-0000;1;_", L"sp1234", L"SP-1234", L"SP-1234", 0, 7},
        {L">LL-0000;0;_", L"rj12", L"RJ-12__", L"RJ12", 0, 5},
        {L"<LL>LL<>L;1;*", L"AbCdE", L"abCDE", L"abCDE", 0, 5},
        {L"<LL>LL<>L;1;*", L"Ab", L"ab***", L"ab   ", 0, 2},
        // escaped mask characters are literals; # takes signs; a/A letters or digits; C anything
        {L"\\L\\0#9;1;_", L"-5", L"L0-5", L"L0-5", 0, 4},
        {L"Aa-Cc;0;_", L"x1?!", L"x1-?!", L"x1?!", 0, 5},
        {L"000;0;_", L"1a2", L"12_", L"12", 1, 2},
        {L"LL;1;_", L"\u00e7a", L"\u00e7a", L"\u00e7a", 0, 2},  // accented letters are letters
        {L">L;1;_", L"\u00e7", L"\u00c7", L"\u00c7", 0, 1},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << testing::PrintToString(String(c.Mask)) << " keys "
                                        << testing::PrintToString(String(c.Keys)));
        TEditMask mask(c.Mask);
        int refused = 0;
        TMaskEditState state = Type(mask, c.Keys, &refused);
        EXPECT_EQ(state.EditText, c.EditText);
        EXPECT_EQ(mask.EditTextToText(state.EditText), c.Text);
        EXPECT_EQ(refused, c.Refused);
        EXPECT_EQ(state.SelStart, c.Caret);
    }
}

TEST(EditMask, TypingOverSelectionReplacesIt) {
    TEditMask mask(PhoneMask);
    TMaskEditState state{L"(11)9876-5432", 0, 13};
    ASSERT_TRUE(mask.TypeChar(state, L'2'));
    EXPECT_EQ(state.EditText, L"(2_)____-____");
    EXPECT_EQ(state.SelStart, 2);
    EXPECT_EQ(state.SelLength, 0);

    // a refused character leaves text and selection alone
    TMaskEditState selected{L"(11)9876-5432", 4, 4};
    EXPECT_FALSE(mask.TypeChar(selected, L'x'));
    EXPECT_EQ(selected.EditText, L"(11)9876-5432");
    EXPECT_EQ(selected.SelLength, 4);

    mask.DeleteForward(selected);
    EXPECT_EQ(selected.EditText, L"(11)____-5432");
}

struct TextCase {
    const wchar_t* Mask;
    const wchar_t* Text;
    const wchar_t* EditText;
    const wchar_t* TextBack;
};

TEST(EditMask, TextAndEditTextTable) {
    const TextCase cases[] = {
        {L"000;0;_", L"12", L"12_", L"12"},
        {L"!000;0;_", L"12", L"_12", L"12"},
        {L"000;0;_", L"1 3", L"1_3", L"1 3"},
        {L"!000;0;_", L"", L"___", L""},
        {PhoneMask, L"(11)9876-5432", L"(11)9876-5432", L"(11)9876-5432"},
        {PhoneMask, L"98765432", L"(__)9876-5432", L"(  )9876-5432"},  // '!' fills from the right
        {L"00/00;0; ", L"1231", L"12/31", L"1231"},
        {L"00/00;0; ", L"12/31", L"12/31", L"1231"},  // literals in the text are skipped
        {L">LL;1;_", L"ab", L"AB", L"AB"},
        {L"", L"free text", L"free text", L"free text"},  // no mask: plain text
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << testing::PrintToString(String(c.Mask)) << " text "
                                        << testing::PrintToString(String(c.Text)));
        TEditMask mask(c.Mask);
        const String edit = mask.TextToEditText(c.Text);
        EXPECT_EQ(edit, c.EditText);
        EXPECT_EQ(mask.EditTextToText(edit), c.TextBack);
    }
}

TEST(EditMask, SectionsParseEscapedSeparators) {
    TEditMask mask(L"0\\;0;0;#");
    EXPECT_EQ(mask.Length(), 3);
    EXPECT_FALSE(mask.SaveLiterals());
    EXPECT_EQ(mask.Blank(), L'#');
    EXPECT_EQ(mask.EmptyEditText(), L"#;#");

    TEditMask defaults(L"00");
    EXPECT_TRUE(defaults.SaveLiterals());
    EXPECT_EQ(defaults.Blank(), L'_');
}

}  // namespace
