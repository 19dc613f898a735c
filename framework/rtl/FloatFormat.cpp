#include "framework/rtl/FloatFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/rtl/Numeric.h"

namespace {

constexpr int kMaxDigits = 18;     // significant decimal digits of an extended value
constexpr int kMaskDigits = 15;    // FormatFloat's first rounding

// ---------------------------------------------------------------------------------------------
// Exact decimal expansion

// Unsigned big integer, little-endian 32-bit limbs; only what the expansion needs.
class BigUnsigned {
public:
    explicit BigUnsigned(std::uint64_t v) {
        limbs_.push_back(static_cast<std::uint32_t>(v));
        if (v >> 32) limbs_.push_back(static_cast<std::uint32_t>(v >> 32));
    }

    void Multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            std::uint64_t t = static_cast<std::uint64_t>(limb) * factor + carry;
            limb = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    void MultiplyByPowerOf5(int n) {
        constexpr std::uint32_t kFive13 = 1220703125;  // largest power of 5 in 32 bits
        for (; n >= 13; n -= 13) Multiply(kFive13);
        std::uint32_t rest = 1;
        while (n-- > 0) rest *= 5;
        Multiply(rest);
    }

    void ShiftLeft(int bits) {
        limbs_.insert(limbs_.begin(), static_cast<size_t>(bits / 32), 0);
        int s = bits % 32;
        if (s == 0) return;
        std::uint32_t carry = 0;
        for (auto& limb : limbs_) {
            std::uint32_t next = limb >> (32 - s);
            limb = (limb << s) | carry;
            carry = next;
        }
        if (carry) limbs_.push_back(carry);
    }

    std::string ToDecimal() const {
        std::vector<std::uint32_t> n = limbs_;
        std::string out;
        while (!(n.size() == 1 && n[0] == 0) && !n.empty()) {
            std::uint64_t rem = 0;
            for (size_t i = n.size(); i-- > 0;) {
                std::uint64_t cur = (rem << 32) | n[i];
                n[i] = static_cast<std::uint32_t>(cur / 1000000000u);
                rem = cur % 1000000000u;
            }
            while (!n.empty() && n.back() == 0) n.pop_back();
            for (int k = 0; k < 9; ++k) {
                out += static_cast<char>('0' + rem % 10);
                rem /= 10;
            }
        }
        while (!out.empty() && out.back() == '0') out.pop_back();
        std::reverse(out.begin(), out.end());
        return out;
    }

private:
    std::vector<std::uint32_t> limbs_;
};

// value = 0.digits * 10^exponent; digits carry no leading or trailing zeros; empty means zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return digits.empty(); }
    char DigitAt(int i) const {
        return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0';
    }
};

void StripTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

Decimal ExactDecimal(Extended value) {
    Decimal d;
    d.negative = std::signbit(value);
    value = std::fabs(value);
    if (value == 0) return d;
    int e = 0;
    Extended m = std::frexp(value, &e);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(m, 64));
    int binaryExponent = e - 64;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }
    BigUnsigned big(mantissa);
    if (binaryExponent >= 0) {
        big.ShiftLeft(binaryExponent);
        d.digits = big.ToDecimal();
        d.exponent = static_cast<int>(d.digits.size());
    } else {
        // m * 2^-k == m * 5^k / 10^k
        big.MultiplyByPowerOf5(-binaryExponent);
        d.digits = big.ToDecimal();
        d.exponent = static_cast<int>(d.digits.size()) + binaryExponent;
    }
    StripTrailingZeros(d);
    return d;
}

// Keeps the first count significant digits. Half away from zero unless halfEven.
void RoundDigits(Decimal& d, int count, bool halfEven = false) {
    if (count < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    auto n = static_cast<size_t>(count);
    if (d.digits.size() <= n) return;
    char next = d.digits[n];
    bool up = next >= '5';
    if (halfEven && next == '5' && d.digits.size() == n + 1)
        up = n > 0 && (d.digits[n - 1] - '0') % 2 == 1;
    d.digits.resize(n);
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9') d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits.push_back('1');
            ++d.exponent;
        } else {
            ++d.digits.back();
        }
    }
    StripTrailingZeros(d);
}

// The value as the classic conversions see it: at most 18 significant digits.
Decimal ToDecimal(Extended value) {
    Decimal d = ExactDecimal(value);
    RoundDigits(d, kMaxDigits, true);
    return d;
}

// ---------------------------------------------------------------------------------------------
// Rendering pieces

String Widen(const std::string& ascii) { return String(ascii.begin(), ascii.end()); }

String ZeroPadded(int value, int minDigits) {
    String s = Widen(std::to_string(value));
    if (static_cast<int>(s.size()) < minDigits) s.insert(0, static_cast<size_t>(minDigits) - s.size(), L'0');
    return s;
}

String Grouped(const String& integerDigits, wchar_t separator) {
    if (separator == 0) return integerDigits;
    String out;
    size_t n = integerDigits.size();
    for (size_t i = 0; i < n; ++i) {
        out += integerDigits[i];
        size_t remaining = n - i - 1;
        if (remaining > 0 && remaining % 3 == 0) out += separator;
    }
    return out;
}

// Integer digits of d ("0" when below one).
String IntegerPart(const Decimal& d) {
    if (d.exponent <= 0) return L"0";
    String s;
    for (int i = 0; i < d.exponent; ++i) s += static_cast<wchar_t>(d.DigitAt(i));
    return s;
}

// Exactly `decimals` digits after the point.
String FractionPart(const Decimal& d, int decimals) {
    String s;
    for (int k = 0; k < decimals; ++k) s += static_cast<wchar_t>(d.DigitAt(d.exponent + k));
    return s;
}

String ExponentText(int exponent, int minDigits, bool forceSign) {
    String s = L"E";
    if (exponent < 0) s += L'-';
    else if (forceSign) s += L'+';
    return s + ZeroPadded(exponent < 0 ? -exponent : exponent, minDigits);
}

String SpecialText(Extended value) {
    if (std::isnan(value)) return L"NAN";
    return value < 0 ? L"-INF" : L"INF";
}

String Signed(const Decimal& d, const String& text) { return d.negative && !d.IsZero() ? L"-" + text : text; }

String RenderExponent(Decimal d, int precision, int minExponentDigits, const TFormatSettings& fs) {
    RoundDigits(d, precision);
    String text(1, static_cast<wchar_t>(d.DigitAt(0)));
    if (precision > 1) {
        text += fs.DecimalSeparator;
        for (int i = 1; i < precision; ++i) text += static_cast<wchar_t>(d.DigitAt(i));
    }
    text += ExponentText(d.IsZero() ? 0 : d.exponent - 1, minExponentDigits, true);
    return Signed(d, text);
}

String RenderGeneral(Decimal d, int precision, int minExponentDigits, const TFormatSettings& fs) {
    RoundDigits(d, precision);
    if (d.IsZero()) return L"0";
    int count = static_cast<int>(d.digits.size());
    String text;
    if (d.exponent > precision || d.exponent < -3) {
        text = static_cast<wchar_t>(d.digits[0]);
        if (count > 1) text += fs.DecimalSeparator + Widen(d.digits.substr(1));
        text += ExponentText(d.exponent - 1, minExponentDigits, false);
    } else {
        text = IntegerPart(d);
        int decimals = count - d.exponent;
        if (decimals > 0) text += fs.DecimalSeparator + FractionPart(d, decimals);
    }
    return Signed(d, text);
}

// Fixed notation with `decimals` digits; the caller has handled the scientific fallback.
String FixedDigits(const Decimal& d, int decimals, bool grouped, const TFormatSettings& fs) {
    String text = IntegerPart(d);
    if (grouped) text = Grouped(text, fs.ThousandSeparator);
    if (decimals > 0) text += fs.DecimalSeparator + FractionPart(d, decimals);
    return text;
}

String CurrencyText(const String& amount, bool negative, const TFormatSettings& fs) {
    const String& c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
            case 1: return amount + c;
            case 2: return c + L" " + amount;
            case 3: return amount + L" " + c;
            default: return c + amount;
        }
    }
    switch (fs.NegCurrFormat) {
        case 1: return L"-" + c + amount;
        case 2: return c + L"-" + amount;
        case 3: return c + amount + L"-";
        case 4: return L"(" + amount + c + L")";
        case 5: return L"-" + amount + c;
        case 6: return amount + L"-" + c;
        case 7: return amount + c + L"-";
        case 8: return L"-" + amount + L" " + c;
        case 9: return L"-" + c + L" " + amount;
        case 10: return amount + L" " + c + L"-";
        case 11: return c + L" " + amount + L"-";
        case 12: return c + L" -" + amount;
        case 13: return amount + L"- " + c;
        case 14: return L"(" + c + L" " + amount + L")";
        case 15: return L"(" + amount + L" " + c + L")";
        default: return L"(" + c + amount + L")";
    }
}

}  // namespace

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& fs) {
    if (!std::isfinite(value)) return SpecialText(value);
    precision = std::clamp(precision, 1, kMaxDigits);
    Decimal d = ToDecimal(value);
    switch (format) {
        case ffGeneral: return RenderGeneral(d, precision, std::clamp(digits, 0, 4), fs);
        case ffExponent: return RenderExponent(d, precision, std::clamp(digits, 0, 4), fs);
        default: break;
    }
    digits = std::clamp(digits, 0, kMaxDigits);
    Decimal rounded = d;
    RoundDigits(rounded, std::min(precision, rounded.exponent + digits));
    if (rounded.exponent > precision) return RenderExponent(d, precision, 0, fs);
    String amount = FixedDigits(rounded, digits, format != ffFixed, fs);
    bool negative = rounded.negative && !rounded.IsZero();
    if (format == ffCurrency) return CurrencyText(amount, negative, fs);
    return negative ? L"-" + amount : amount;
}

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, DefaultFormatSettings());
}

String FloatToStr(Extended value, const TFormatSettings& settings) {
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

String FloatToStr(Extended value) { return FloatToStr(value, DefaultFormatSettings()); }

String CurrToStr(Extended value, const TFormatSettings& settings) {
    if (!std::isfinite(value)) return SpecialText(value);
    // Currency resolution is 1/10000; round there first (halves to even, like the conversion).
    constexpr Extended kLimit = 922337203685477.0L;
    if (std::fabs(value) < kLimit) value = static_cast<Extended>(RoundHalfEven(value * 10000)) / 10000;
    return FloatToStrF(value, ffGeneral, kMaxDigits, 0, settings);
}

String CurrToStr(Extended value) { return CurrToStr(value, DefaultFormatSettings()); }

// ---------------------------------------------------------------------------------------------
// Parsing

namespace {

bool IsBlank(wchar_t c) { return c <= L' '; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Strict syntax check first, then one correctly rounded conversion of a plain ASCII form
// "<digits>e<exponent>" that no locale setting can affect.
bool ParseFloat(const String& s, Extended& value, const TFormatSettings& fs) {
    size_t i = 0, n = s.size();
    while (i < n && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < n && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    std::string digits;
    long exponent = 0;
    bool anyDigit = false;
    for (; i < n && IsDigit(s[i]); ++i) {
        anyDigit = true;
        digits += static_cast<char>(s[i]);
    }
    if (i < n && s[i] == fs.DecimalSeparator) {
        for (++i; i < n && IsDigit(s[i]); ++i) {
            anyDigit = true;
            digits += static_cast<char>(s[i]);
            --exponent;
        }
    }
    if (!anyDigit) return false;
    if (i < n && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == L'+' || s[i] == L'-')) negativeExponent = s[i++] == L'-';
        if (i == n || !IsDigit(s[i])) return false;
        long e = 0;
        for (; i < n && IsDigit(s[i]); ++i) e = std::min(e * 10 + (s[i] - L'0'), 100000L);
        exponent += negativeExponent ? -e : e;
    }
    while (i < n && IsBlank(s[i])) ++i;
    if (i != n) return false;

    std::string ascii = digits + "e" + std::to_string(exponent);
    Extended v = std::strtold(ascii.c_str(), nullptr);
    if (std::isinf(v)) return false;  // out of range
    value = negative ? -v : v;
    return true;
}

[[noreturn]] void RaiseInvalidFloat(const String& s) {
    throw EConvertError(L"'" + s + L"' is not a valid floating point value");
}

}  // namespace

bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& settings) {
    return ParseFloat(s, value, settings);
}

bool TryStrToFloat(const String& s, Extended& value) {
    return TryStrToFloat(s, value, DefaultFormatSettings());
}

bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings) {
    Extended v;
    if (!ParseFloat(s, v, settings)) return false;
    auto d = static_cast<double>(v);
    if (std::isinf(d)) return false;
    value = d;
    return true;
}

bool TryStrToFloat(const String& s, double& value) {
    return TryStrToFloat(s, value, DefaultFormatSettings());
}

Extended StrToFloat(const String& s, const TFormatSettings& settings) {
    Extended v;
    if (!ParseFloat(s, v, settings)) RaiseInvalidFloat(s);
    return v;
}

Extended StrToFloat(const String& s) { return StrToFloat(s, DefaultFormatSettings()); }

Extended StrToFloatDef(const String& s, Extended defaultValue, const TFormatSettings& settings) {
    Extended v;
    return ParseFloat(s, v, settings) ? v : defaultValue;
}

Extended StrToFloatDef(const String& s, Extended defaultValue) {
    return StrToFloatDef(s, defaultValue, DefaultFormatSettings());
}

// ---------------------------------------------------------------------------------------------
// FormatFloat

namespace {

std::vector<String> SplitSections(const String& mask) {
    std::vector<String> sections(1);
    wchar_t quote = 0;
    for (wchar_t c : mask) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

bool IsExponentAt(const String& section, size_t i) {
    return (section[i] == L'E' || section[i] == L'e') && i + 1 < section.size() &&
           (section[i + 1] == L'+' || section[i + 1] == L'-');
}

struct MaskLayout {
    int integerPlaceholders = 0;
    int minIntegerDigits = 0;
    int maxDecimals = 0;
    int minDecimals = 0;
    bool thousands = false;
    bool scientific = false;
    int exponentDigits = 0;
};

MaskLayout AnalyzeSection(const String& section) {
    MaskLayout m;
    bool afterPoint = false;
    int firstZero = -1;
    wchar_t quote = 0;
    for (size_t i = 0; i < section.size(); ++i) {
        wchar_t c = section[i];
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == L'\'' || c == L'"') {
            quote = c;
        } else if (c == L'0' || c == L'#') {
            if (afterPoint) {
                ++m.maxDecimals;
                if (c == L'0') m.minDecimals = m.maxDecimals;
            } else {
                if (c == L'0' && firstZero < 0) firstZero = m.integerPlaceholders;
                ++m.integerPlaceholders;
            }
        } else if (c == L'.') {
            afterPoint = true;
        } else if (c == L',') {
            m.thousands = true;
        } else if (IsExponentAt(section, i)) {
            m.scientific = true;
            for (i += 2; i < section.size() && section[i] == L'0'; ++i) ++m.exponentDigits;
            m.exponentDigits = std::min(m.exponentDigits, 4);
            break;  // the rest of the section is literal text
        }
    }
    if (firstZero >= 0) m.minIntegerDigits = m.integerPlaceholders - firstZero;
    return m;
}

// The digits that fill a section's placeholders.
struct MaskNumber {
    String integerDigits;   // no leading zeros beyond minIntegerDigits; may be empty
    String fractionDigits;  // trailing optional zeros removed
    int exponent = 0;
    bool zero = true;
};

MaskNumber PrepareNumber(Extended magnitude, const MaskLayout& m) {
    Decimal d = ToDecimal(magnitude);
    RoundDigits(d, kMaskDigits);
    MaskNumber r;
    int integerCount;
    if (m.scientific) {
        RoundDigits(d, std::max(m.integerPlaceholders + m.maxDecimals, 1));
        r.exponent = d.IsZero() ? 0 : d.exponent - m.integerPlaceholders;
        integerCount = m.integerPlaceholders;
        d.exponent = d.IsZero() ? 0 : m.integerPlaceholders;
    } else {
        RoundDigits(d, d.exponent + m.maxDecimals);
        integerCount = std::max(d.exponent, 0);
    }
    r.zero = d.IsZero();
    for (int i = 0; i < integerCount && !r.zero; ++i) r.integerDigits += static_cast<wchar_t>(d.DigitAt(i));
    size_t lead = r.integerDigits.find_first_not_of(L'0');
    r.integerDigits.erase(0, lead == String::npos ? r.integerDigits.size() : lead);
    if (static_cast<int>(r.integerDigits.size()) < m.minIntegerDigits)
        r.integerDigits.insert(0, static_cast<size_t>(m.minIntegerDigits) - r.integerDigits.size(), L'0');
    r.fractionDigits = FractionPart(d, m.maxDecimals);
    while (static_cast<int>(r.fractionDigits.size()) > m.minDecimals && r.fractionDigits.back() == L'0')
        r.fractionDigits.pop_back();
    return r;
}

class MaskWriter {
public:
    MaskWriter(const MaskLayout& m, const MaskNumber& n, const TFormatSettings& fs)
        : m_(m), n_(n), fs_(fs), nextPosition_(m.integerPlaceholders) {}

    String Write(const String& section) {
        wchar_t quote = 0;
        bool afterPoint = false;
        for (size_t i = 0; i < section.size(); ++i) {
            wchar_t c = section[i];
            if (quote) {
                if (c == quote) quote = 0;
                else out_ += c;
            } else if (c == L'\'' || c == L'"') {
                quote = c;
            } else if (exponentDone_) {
                out_ += c;  // as in the layout: after the exponent, the rest is literal text
            } else if ((c == L'0' || c == L'#') && !afterPoint) {
                IntegerPlaceholder();
            } else if (c == L'0' || c == L'#') {
                if (fractionIndex_ < n_.fractionDigits.size()) out_ += n_.fractionDigits[fractionIndex_];
                ++fractionIndex_;
            } else if (c == L'.' && !afterPoint) {
                afterPoint = true;
                EmitLeadingDigits();
                if (!n_.fractionDigits.empty()) out_ += fs_.DecimalSeparator;
            } else if (c == L',') {
                // thousand separators are placed by position, not where the mask has them
            } else if (IsExponentAt(section, i)) {
                exponentDone_ = true;
                EmitLeadingDigits();
                String exponent = ExponentText(n_.exponent, m_.exponentDigits, section[i + 1] == L'+');
                exponent[0] = c;  // the mask's case of 'E'
                out_ += exponent;
                ++i;  // the sign
                while (i + 1 < section.size() && section[i + 1] == L'0') ++i;
            } else {
                out_ += c;
            }
        }
        return out_;
    }

private:
    // Digits with more positions than the mask has placeholders go at the first placeholder.
    void EmitLeadingDigits() {
        if (leadingDone_) return;
        leadingDone_ = true;
        int count = static_cast<int>(n_.integerDigits.size());
        for (int p = count; p > nextPosition_; --p) EmitDigit(p);
    }

    void IntegerPlaceholder() {
        EmitLeadingDigits();
        if (nextPosition_ <= static_cast<int>(n_.integerDigits.size())) EmitDigit(nextPosition_);
        --nextPosition_;
    }

    // p counts integer positions from the right, 1 being the units.
    void EmitDigit(int p) {
        out_ += n_.integerDigits[n_.integerDigits.size() - static_cast<size_t>(p)];
        if (m_.thousands && fs_.ThousandSeparator != 0 && p > 1 && (p - 1) % 3 == 0)
            out_ += fs_.ThousandSeparator;
    }

    const MaskLayout& m_;
    const MaskNumber& n_;
    const TFormatSettings& fs_;
    String out_;
    int nextPosition_;
    size_t fractionIndex_ = 0;
    bool leadingDone_ = false;
    bool exponentDone_ = false;
};

String FormatSection(const String& section, Extended magnitude, const TFormatSettings& fs,
                     bool& roundsToZero) {
    MaskLayout layout = AnalyzeSection(section);
    MaskNumber number = PrepareNumber(magnitude, layout);
    roundsToZero = number.zero;
    return MaskWriter(layout, number, fs).Write(section);
}

}  // namespace

String FormatFloat(const String& mask, Extended value, const TFormatSettings& settings) {
    if (mask.empty()) return FloatToStr(value, settings);
    if (!std::isfinite(value)) return SpecialText(value);
    std::vector<String> sections = SplitSections(mask);
    const String positive = sections[0];
    const String negative = sections.size() > 1 ? sections[1] : String();
    const String zero = sections.size() > 2 ? sections[2] : String();

    bool isNegative = value < 0;
    Extended magnitude = std::fabs(value);
    const String& chosen = isNegative && !negative.empty() ? negative : positive;
    bool roundsToZero = false;
    String text = FormatSection(chosen, magnitude, settings, roundsToZero);
    if (roundsToZero) {
        // A value that shows as zero is zero: no minus sign, and the zero section when given.
        if (!zero.empty()) return FormatSection(zero, 0, settings, roundsToZero);
        if (isNegative) return FormatSection(positive, 0, settings, roundsToZero);
        return text;
    }
    return isNegative && negative.empty() ? L"-" + text : text;
}

String FormatFloat(const String& mask, Extended value) {
    return FormatFloat(mask, value, DefaultFormatSettings());
}
