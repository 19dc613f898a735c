#include "framework/classes/Description.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/rtl/StringUtils.h"

EParserError::EParserError(const String& description, int line, const String& message)
    : EReadError(description + L"(" + std::to_wstring(line) + L"): " + message), line_(line), reason_(message) {}

namespace {

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsHexDigit(wchar_t c) {
    return IsDigit(c) || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}
int HexValue(wchar_t c) {
    if (IsDigit(c)) return c - L'0';
    return (c | 0x20) - L'a' + 10;
}

class TParser {
public:
    TParser(const String& text, const String& name) : s_(text), name_(name) {}

    TObjectNode ParseRoot() {
        SkipBlanks();
        if (pos_ < s_.size() && s_[pos_] == 0xFEFF) ++pos_;
        TObjectNode root = ParseObject();
        SkipBlanks();
        if (pos_ < s_.size()) Fail(L"End of description expected");
        return root;
    }

    TValue ParseLoneValue() {
        TValue value = ParseValue();
        SkipBlanks();
        if (pos_ < s_.size()) Fail(L"End of value expected");
        return value;
    }

private:
    [[noreturn]] void Fail(const String& message) const { throw EParserError(name_, line_, message); }

    // Objects, lists and collections nest by recursion: a bound keeps a hostile file from
    // exhausting the stack, far above what any real form needs.
    static constexpr int kMaxNesting = 100;
    class TNesting {
    public:
        explicit TNesting(TParser& parser) : parser_(parser) {
            if (parser_.nesting_ == kMaxNesting) parser_.Fail(L"Description nested too deeply");
            ++parser_.nesting_;
        }
        ~TNesting() { --parser_.nesting_; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TParser& parser_;
    };

    wchar_t Peek() const { return pos_ < s_.size() ? s_[pos_] : L'\0'; }
    bool AtEnd() const { return pos_ >= s_.size(); }

    void SkipBlanks() {
        while (pos_ < s_.size() && (s_[pos_] <= L' ' || s_[pos_] == 0xFEFF)) {
            if (s_[pos_] == L'\n') ++line_;
            ++pos_;
        }
    }

    void Expect(wchar_t c) {
        SkipBlanks();
        if (Peek() != c) Fail(String(L"'") + c + L"' expected");
        ++pos_;
    }

    // Identifier, dotted when allowed ("Items.Strings", "Form2.Button1").
    String ReadIdent(bool dotted) {
        SkipBlanks();
        if (!IsLetter(Peek())) Fail(L"Identifier expected");
        size_t start = pos_;
        while (!AtEnd() && (IsLetter(Peek()) || IsDigit(Peek()) ||
                            (dotted && Peek() == L'.' && pos_ + 1 < s_.size() && IsLetter(s_[pos_ + 1]))))
            ++pos_;
        return s_.substr(start, pos_ - start);
    }

    bool NextIsKeyword(const wchar_t* keyword) {
        SkipBlanks();
        size_t p = pos_;
        while (p < s_.size() && (IsLetter(s_[p]) || IsDigit(s_[p]))) ++p;
        return p > pos_ && SameText(s_.substr(pos_, p - pos_), keyword);
    }

    TObjectNode ParseObject() {
        if (!NextIsKeyword(L"object")) Fail(L"'object' expected");
        TNesting nesting(*this);
        TObjectNode node;
        node.Line = line_;
        ReadIdent(false);
        String first = ReadIdent(false);
        SkipBlanks();
        if (Peek() == L':') {
            ++pos_;
            node.Name = first;
            node.ClassName = ReadIdent(false);
        } else {
            node.ClassName = first;
        }
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail(L"'end' expected");
            if (NextIsKeyword(L"end")) {
                ReadIdent(false);
                return node;
            }
            if (NextIsKeyword(L"object"))
                node.Children.push_back(ParseObject());
            else
                node.Properties.push_back(ParseProperty());
        }
    }

    TPropertyNode ParseProperty() {
        TPropertyNode prop;
        SkipBlanks();
        prop.Line = line_;
        prop.Name = ReadIdent(true);
        Expect(L'=');
        prop.Value = ParseValue();
        return prop;
    }

    TValue ParseValue() {
        SkipBlanks();
        TValue v;
        v.Line = line_;
        wchar_t c = Peek();
        if (c == L'[') {
            ++pos_;
            v.Type = TValue::vaSet;
            SkipBlanks();
            if (Peek() != L']') {
                for (;;) {
                    v.Idents.push_back(ReadIdent(false));
                    SkipBlanks();
                    if (Peek() == L']') break;
                    Expect(L',');
                }
            }
            ++pos_;
        } else if (c == L'(') {
            TNesting nesting(*this);
            ++pos_;
            v.Type = TValue::vaList;
            for (;;) {
                SkipBlanks();
                if (AtEnd()) Fail(L"')' expected");
                if (Peek() == L')') break;
                v.Items.push_back(ParseValue());
            }
            ++pos_;
        } else if (c == L'{') {
            ++pos_;
            v.Type = TValue::vaBinary;
            ParseBinary(v.Bytes);
        } else if (c == L'<') {
            TNesting nesting(*this);
            ++pos_;
            v.Type = TValue::vaCollection;
            ParseCollection(v);
        } else if (c == L'\'' || c == L'#') {
            v.Type = TValue::vaString;
            v.Text = ParseString();
        } else if (c == L'-' || c == L'+' || c == L'$' || IsDigit(c)) {
            ParseNumber(v);
        } else if (IsLetter(c)) {
            v.Type = TValue::vaIdent;
            v.Text = ReadIdent(true);
        } else {
            Fail(L"Property value expected");
        }
        return v;
    }

    void ParseBinary(std::vector<Byte>& bytes) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail(L"'}' expected");
            wchar_t c = Peek();
            if (c == L'}') break;
            if (!IsHexDigit(c)) Fail(L"Hexadecimal digit expected");
            if (pos_ + 1 >= s_.size() || !IsHexDigit(s_[pos_ + 1]))
                Fail(L"Binary data needs two hexadecimal digits per byte");
            bytes.push_back(static_cast<Byte>(HexValue(c) * 16 + HexValue(s_[pos_ + 1])));
            pos_ += 2;
        }
        ++pos_;
    }

    void ParseCollection(TValue& v) {
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail(L"'>' expected");
            if (Peek() == L'>') break;
            if (!NextIsKeyword(L"item")) Fail(L"'item' expected");
            ReadIdent(false);
            std::vector<TPropertyNode>& item = v.CollectionItems.emplace_back();
            while (!NextIsKeyword(L"end")) {
                if (AtEnd()) Fail(L"'end' expected");
                item.push_back(ParseProperty());
            }
            ReadIdent(false);
        }
        ++pos_;
    }

    // 'quoted' and #nnn pieces written together, joined across lines with '+'.
    String ParseString() {
        String result;
        for (;;) {
            SkipBlanks();
            if (Peek() != L'\'' && Peek() != L'#') Fail(L"String expected");
            while (Peek() == L'\'' || Peek() == L'#') {
                if (Peek() == L'#')
                    result += ParseCharCode();
                else
                    ParseQuoted(result);
            }
            SkipBlanks();
            if (Peek() != L'+') return result;
            ++pos_;
        }
    }

    void ParseQuoted(String& out) {
        ++pos_;
        for (;;) {
            if (AtEnd() || Peek() == L'\n' || Peek() == L'\r') Fail(L"Unterminated string");
            wchar_t c = s_[pos_++];
            if (c == L'\'') {
                if (Peek() != L'\'') return;
                ++pos_;
            }
            out += c;
        }
    }

    wchar_t ParseCharCode() {
        ++pos_;
        bool hex = Peek() == L'$';
        if (hex) ++pos_;
        unsigned long code = 0;
        size_t start = pos_;
        while (!AtEnd() && (hex ? IsHexDigit(Peek()) : IsDigit(Peek()))) {
            code = code * (hex ? 16 : 10) + static_cast<unsigned long>(HexValue(Peek()));
            if (code > 0xFFFF) Fail(L"Character code out of range");
            ++pos_;
        }
        if (pos_ == start) Fail(L"Character code expected");
        return static_cast<wchar_t>(code);
    }

    void ParseNumber(TValue& v) {
        size_t start = pos_;
        bool negative = Peek() == L'-';
        if (Peek() == L'-' || Peek() == L'+') ++pos_;
        if (Peek() == L'$') {
            ++pos_;
            size_t digits = pos_;
            std::uint64_t value = 0;
            while (!AtEnd() && IsHexDigit(Peek())) {
                if (value >> 60) Fail(L"Integer out of range");
                value = value * 16 + static_cast<std::uint64_t>(HexValue(Peek()));
                ++pos_;
            }
            if (pos_ == digits) Fail(L"Hexadecimal digit expected");
            v.Type = TValue::vaInteger;
            v.Hex = true;
            // Wraps like the 64-bit value it is ($FFFFFFFFFFFFFFFF is -1), without signed overflow.
            v.Int = static_cast<Int64>(negative ? 0 - value : value);
            return;
        }
        while (!AtEnd() && (IsDigit(Peek()) || Peek() == L'.' || Peek() == L'e' || Peek() == L'E' ||
                            ((Peek() == L'-' || Peek() == L'+') && (s_[pos_ - 1] | 0x20) == L'e')))
            ++pos_;
        String text = s_.substr(start, pos_ - start);
        if (text.find_first_of(L".eE") == String::npos) {
            std::string narrow(text.begin(), text.end());
            const char* first = narrow.c_str() + (narrow[0] == '+' ? 1 : 0);
            auto r = std::from_chars(first, narrow.c_str() + narrow.size(), v.Int);
            if (r.ec == std::errc::result_out_of_range) Fail(L"Integer out of range");
            if (r.ec != std::errc() || r.ptr != narrow.c_str() + narrow.size()) Fail(L"Number expected");
            v.Type = TValue::vaInteger;
        } else {
            if (!DescriptionTextToFloat(text, v.Float)) Fail(L"Invalid number " + text);
            v.Type = TValue::vaFloat;
        }
    }

    const String& s_;
    String name_;
    size_t pos_ = 0;
    int line_ = 1;
    int nesting_ = 0;
};

// ---- formatting ----

void AppendString(String& out, const String& text) {
    if (text.empty()) {
        out += L"''";
        return;
    }
    bool quoted = false;
    for (wchar_t c : text) {
        if (c < L' ') {
            if (quoted) out += L'\'';
            quoted = false;
            out += L'#' + std::to_wstring(static_cast<int>(c));
            continue;
        }
        if (!quoted) out += L'\'';
        quoted = true;
        out += c;
        if (c == L'\'') out += L'\'';
    }
    if (quoted) out += L'\'';
}

void AppendValue(String& out, const TValue& v, const String& indent);

void AppendProperties(String& out, const std::vector<TPropertyNode>& props, const String& indent) {
    for (const TPropertyNode& p : props) {
        out += indent + p.Name + L" = ";
        AppendValue(out, p.Value, indent);
        out += L"\r\n";
    }
}

void AppendValue(String& out, const TValue& v, const String& indent) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    switch (v.Type) {
    case TValue::vaInteger:
        if (v.Hex && v.Int >= 0) {
            wchar_t digits[24];
            std::swprintf(digits, 24, L"$%08llX", static_cast<unsigned long long>(v.Int));
            out += digits;
        } else {
            out += std::to_wstring(v.Int);
        }
        break;
    case TValue::vaFloat:
        out += FloatToDescriptionText(v.Float);
        break;
    case TValue::vaString:
        AppendString(out, v.Text);
        break;
    case TValue::vaIdent:
        out += v.Text;
        break;
    case TValue::vaSet:
        out += L'[';
        for (size_t i = 0; i < v.Idents.size(); ++i) out += (i > 0 ? L", " : L"") + v.Idents[i];
        out += L']';
        break;
    case TValue::vaList:
        out += L'(';
        for (const TValue& item : v.Items) {
            out += L"\r\n" + indent + L"  ";
            AppendValue(out, item, indent + L"  ");
        }
        out += L')';
        break;
    case TValue::vaBinary:
        out += L'{';
        for (size_t i = 0; i < v.Bytes.size(); ++i) {
            if (i % 32 == 0) out += L"\r\n" + indent + L"  ";
            out += hex[v.Bytes[i] >> 4];
            out += hex[v.Bytes[i] & 15];
        }
        out += L'}';
        break;
    case TValue::vaCollection:
        out += L'<';
        for (const auto& item : v.CollectionItems) {
            out += L"\r\n" + indent + L"  item\r\n";
            AppendProperties(out, item, indent + L"    ");
            out += indent + L"  end";
        }
        out += L'>';
        break;
    }
}

void AppendObject(String& out, const TObjectNode& node, const String& indent) {
    out += indent + L"object ";
    out += node.Name.empty() ? node.ClassName : node.Name + L": " + node.ClassName;
    out += L"\r\n";
    AppendProperties(out, node.Properties, indent + L"  ");
    for (const TObjectNode& child : node.Children) AppendObject(out, child, indent + L"  ");
    out += indent + L"end\r\n";
}

}  // namespace

TObjectNode ParseDescription(const String& text, const String& descriptionName) {
    return TParser(text, descriptionName).ParseRoot();
}

TObjectNode ParseDescriptionUtf8(const std::string& bytes, const String& descriptionName) {
    return ParseDescription(Utf8ToString(bytes), descriptionName);
}

String FormatDescription(const TObjectNode& root) {
    String out;
    AppendObject(out, root, L"");
    return out;
}

TValue ParseDescriptionValue(const String& text, const String& descriptionName) {
    return TParser(text, descriptionName).ParseLoneValue();
}

String FormatDescriptionValue(const TValue& value) {
    String out;
    AppendValue(out, value, L"");
    return out;
}

String FloatToDescriptionText(Extended value) {
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof(buffer), value);
    std::string text(buffer, r.ptr);
    // Keep it a float when read back: "2" would be an integer.
    if (text.find_first_of(".eEni") == std::string::npos) text += ".0";
    return String(text.begin(), text.end());
}

bool DescriptionTextToFloat(const String& text, Extended& value) {
    // Checked here, converted by strtold: libstdc++'s from_chars is not exact for 80-bit values.
    std::string narrow;
    size_t i = 0;
    auto digits = [&] {
        size_t start = i;
        while (i < text.size() && IsDigit(text[i])) narrow += static_cast<char>(text[i++]);
        return i > start;
    };
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) narrow += static_cast<char>(text[i++]);
    bool whole = digits();
    bool fraction = false;
    if (i < text.size() && text[i] == L'.') {
        narrow += '.';
        ++i;
        fraction = digits();
    }
    if (!whole && !fraction) return false;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        narrow += 'e';
        ++i;
        if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) narrow += static_cast<char>(text[i++]);
        if (!digits()) return false;
    }
    if (i != text.size()) return false;
    value = std::strtold(narrow.c_str(), nullptr);
    // Beyond the range of Extended: no value a writer could have stored.
    return std::isfinite(value);
}
