#include "framework/rtl/Format.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "framework/rtl/FloatFormat.h"
#include "framework/rtl/StringUtils.h"

namespace {

// Larger widths or precisions are treated as malformed rather than allocating gigabytes.
constexpr int kMaxFieldSize = 1 << 20;

class Formatter {
public:
    Formatter(const String& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs)
        : format_(format), args_(args.begin()), argCount_(args.size()), fs_(fs) {}

    String Run() {
        while (pos_ < format_.size()) {
            wchar_t c = format_[pos_++];
            if (c != L'%') {
                out_ += c;
                continue;
            }
            if (pos_ < format_.size() && format_[pos_] == L'%') {
                out_ += L'%';
                ++pos_;
                continue;
            }
            Specifier();
        }
        return out_;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError(L"Format '" + format_ + L"' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (nextArg_ >= argCount_) throw EConvertError(L"No argument for format '" + format_ + L"'");
        return args_[nextArg_++];
    }

    wchar_t Peek() const { return pos_ < format_.size() ? format_[pos_] : L'\0'; }

    // A run of digits, or "*" taking the value from the next (integer) argument.
    std::optional<int> Number() {
        if (Peek() == L'*') {
            ++pos_;
            const TVarRec& arg = NextArg();
            Int64 v;
            if (arg.kind == TVarRec::vtInteger) v = arg.intValue;
            else if (arg.kind == TVarRec::vtInt64) v = arg.int64Value;
            else Invalid();
            if (v < -kMaxFieldSize || v > kMaxFieldSize) Invalid();
            return static_cast<int>(v);
        }
        if (Peek() < L'0' || Peek() > L'9') return std::nullopt;
        int v = 0;
        while (Peek() >= L'0' && Peek() <= L'9') {
            v = v * 10 + (format_[pos_++] - L'0');
            if (v > kMaxFieldSize) Invalid();
        }
        return v;
    }

    // "%" [index ":"] ["-"] [width] ["." precision] type
    void Specifier() {
        std::optional<int> number = Number();
        if (Peek() == L':') {
            ++pos_;
            if (!number || *number < 0) Invalid();
            nextArg_ = static_cast<size_t>(*number);
            number.reset();
        }
        bool left = false;
        if (!number && Peek() == L'-') {
            left = true;
            ++pos_;
        }
        if (!number) number = Number();
        int width = number.value_or(0);
        if (width < 0) {  // a negative "*" width left-justifies
            left = true;
            width = -width;
        }
        int precision = -1;
        if (Peek() == L'.') {
            ++pos_;
            std::optional<int> p = Number();
            precision = !p ? 0 : std::max(*p, -1);  // a negative "*" precision counts as none
        }
        if (pos_ >= format_.size()) Invalid();
        wchar_t type = format_[pos_++];
        if (type >= L'A' && type <= L'Z') type = static_cast<wchar_t>(type + 32);
        String text = Convert(type, precision, NextArgFor(type));
        if (width > static_cast<int>(text.size())) {
            String pad(static_cast<size_t>(width) - text.size(), L' ');
            text = left ? text + pad : pad + text;
        }
        out_ += text;
    }

    const TVarRec& NextArgFor(wchar_t type) {
        if (String(L"duxsfenmgp").find(type) == String::npos) Invalid();
        return NextArg();
    }

    static bool IsInteger(const TVarRec& a) {
        return a.kind == TVarRec::vtInteger || a.kind == TVarRec::vtInt64;
    }

    String Convert(wchar_t type, int precision, const TVarRec& arg) {
        switch (type) {
            case L'd': return IntegerText(arg, precision, false);
            case L'u': return IntegerText(arg, precision, true);
            case L'x': return HexText(arg, precision);
            case L's': return StringText(arg, precision);
            case L'p':
                if (arg.kind != TVarRec::vtPointer) Invalid();
                return IntToHex(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(arg.pointerValue)),
                                static_cast<int>(sizeof(void*) * 2));
            default: return FloatText(type, precision, arg);
        }
    }

    String IntegerText(const TVarRec& arg, int precision, bool asUnsigned) {
        if (!IsInteger(arg)) Invalid();
        bool negative;
        std::uint64_t magnitude;
        if (arg.kind == TVarRec::vtInteger && asUnsigned) {
            negative = false;
            magnitude = static_cast<std::uint32_t>(arg.intValue);
        } else {
            Int64 v = arg.kind == TVarRec::vtInteger ? arg.intValue : arg.int64Value;
            negative = v < 0 && !asUnsigned;
            magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        }
        String digits;
        do {
            digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
            magnitude /= 10;
        } while (magnitude != 0);
        if (precision > static_cast<int>(digits.size()))
            digits.insert(0, static_cast<size_t>(precision) - digits.size(), L'0');
        return negative ? L"-" + digits : digits;
    }

    String HexText(const TVarRec& arg, int precision) {
        if (!IsInteger(arg)) Invalid();
        Int64 v = arg.kind == TVarRec::vtInteger ? static_cast<Int64>(static_cast<std::uint32_t>(arg.intValue))
                                                 : arg.int64Value;
        return IntToHex(v, std::max(precision, 0));
    }

    String StringText(const TVarRec& arg, int precision) {
        String s;
        switch (arg.kind) {
            case TVarRec::vtString: s = *arg.stringValue; break;
            case TVarRec::vtPWideChar: s = arg.pwcharValue ? arg.pwcharValue : L""; break;
            case TVarRec::vtChar: s = String(1, arg.charValue); break;
            default: Invalid();
        }
        if (precision >= 0 && precision < static_cast<int>(s.size())) s.resize(static_cast<size_t>(precision));
        return s;
    }

    String FloatText(wchar_t type, int precision, const TVarRec& arg) {
        if (arg.kind != TVarRec::vtExtended) Invalid();
        Extended v = arg.extValue;
        switch (type) {
            case L'e': return FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3, fs_);
            case L'g': return FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 3, fs_);
            case L'f': return FloatToStrF(v, ffFixed, 18, precision < 0 ? 2 : precision, fs_);
            case L'n': return FloatToStrF(v, ffNumber, 18, precision < 0 ? 2 : precision, fs_);
            default:
                return FloatToStrF(v, ffCurrency, 18, precision < 0 ? fs_.CurrencyDecimals : precision, fs_);
        }
    }

    const String& format_;
    const TVarRec* args_;
    size_t argCount_;
    const TFormatSettings& fs_;
    size_t pos_ = 0;
    size_t nextArg_ = 0;
    String out_;
};

}  // namespace

String Format(const String& format, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
    return Formatter(format, args, settings).Run();
}

String Format(const String& format, std::initializer_list<TVarRec> args) {
    return Format(format, args, DefaultFormatSettings());
}

String IntToStr(Int64 value) {
    return Format(L"%d", {value});
}

namespace {

// Shared by the Int64 and int forms: limits are the magnitude bounds of the target type.
int ParseInteger(const String& s, std::uint64_t maxPositive, std::uint64_t maxNegative,
                 std::uint64_t maxHex, std::uint64_t& magnitude, bool& negative) {
    size_t i = 0, n = s.size();
    magnitude = 0;
    negative = false;
    while (i < n && s[i] <= L' ') ++i;
    if (i < n && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    bool hex = false;
    if (i < n && s[i] == L'$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        hex = true;
        i += 2;
    }
    if (i == n) return static_cast<int>(i) + 1;
    std::uint64_t limit = hex ? maxHex : (negative ? maxNegative : maxPositive);
    unsigned base = hex ? 16 : 10;
    for (; i < n; ++i) {
        wchar_t c = s[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f') digit = static_cast<unsigned>(c - L'a' + 10);
        else if (hex && c >= L'A' && c <= L'F') digit = static_cast<unsigned>(c - L'A' + 10);
        else return static_cast<int>(i) + 1;
        if (magnitude > (limit - digit) / base) return static_cast<int>(i) + 1;
        magnitude = magnitude * base + digit;
    }
    return 0;
}

[[noreturn]] void RaiseInvalidInteger(const String& s) {
    throw EConvertError(L"'" + s + L"' is not a valid integer value");
}

}  // namespace

int Val(const String& s, Int64& value) {
    std::uint64_t magnitude;
    bool negative;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<Int64>::max());
    int code = ParseInteger(s, kMax, kMax + 1, std::numeric_limits<std::uint64_t>::max(), magnitude, negative);
    value = code != 0 ? 0 : static_cast<Int64>(negative ? 0 - magnitude : magnitude);
    return code;
}

int Val(const String& s, int& value) {
    std::uint64_t magnitude;
    bool negative;
    constexpr std::uint64_t kMax = std::numeric_limits<int>::max();
    int code = ParseInteger(s, kMax, kMax + 1, std::numeric_limits<std::uint32_t>::max(), magnitude, negative);
    auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    value = code != 0 ? 0 : static_cast<int>(bits);
    return code;
}

bool TryStrToInt(const String& s, int& value) {
    int v;
    if (Val(s, v) != 0) return false;
    value = v;
    return true;
}

int StrToInt(const String& s) {
    int v;
    if (Val(s, v) != 0) RaiseInvalidInteger(s);
    return v;
}

int StrToIntDef(const String& s, int defaultValue) {
    int v;
    return Val(s, v) == 0 ? v : defaultValue;
}

bool TryStrToInt64(const String& s, Int64& value) {
    Int64 v;
    if (Val(s, v) != 0) return false;
    value = v;
    return true;
}

Int64 StrToInt64(const String& s) {
    Int64 v;
    if (Val(s, v) != 0) RaiseInvalidInteger(s);
    return v;
}

Int64 StrToInt64Def(const String& s, Int64 defaultValue) {
    Int64 v;
    return Val(s, v) == 0 ? v : defaultValue;
}
