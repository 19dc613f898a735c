#include "framework/controls/Mask.h"

#include <algorithm>
#include <cwctype>

#include "framework/rtl/StringUtils.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Accented letters count: they are the ones whose case can change.
bool IsLetter(wchar_t c) {
    if (std::iswalpha(static_cast<wint_t>(c))) return true;
    const String s(1, c);
    return AnsiUpperCase(s) != AnsiLowerCase(s);
}

wchar_t ApplyCase(wchar_t c, TMaskCase mode) {
    switch (mode) {
    case TMaskCase::Upper: return AnsiUpperCase(String(1, c))[0];
    case TMaskCase::Lower: return AnsiLowerCase(String(1, c))[0];
    default: return c;
    }
}

bool PositionChar(wchar_t c, TMaskCharKind& kind) {
    switch (c) {
    case L'0': kind = TMaskCharKind::Digit; return true;
    case L'9': kind = TMaskCharKind::DigitOpt; return true;
    case L'#': kind = TMaskCharKind::DigitOrSign; return true;
    case L'L': kind = TMaskCharKind::Letter; return true;
    case L'l': kind = TMaskCharKind::LetterOpt; return true;
    case L'A': kind = TMaskCharKind::AlphaNum; return true;
    case L'a': kind = TMaskCharKind::AlphaNumOpt; return true;
    case L'C': kind = TMaskCharKind::Any; return true;
    case L'c': kind = TMaskCharKind::AnyOpt; return true;
    default: return false;
    }
}

// Index of the first ';' that is not escaped by '\', or npos.
size_t SectionEnd(const String& s, size_t from) {
    for (size_t i = from; i < s.size(); ++i) {
        if (s[i] == L'\\') ++i;
        else if (s[i] == L';') return i;
    }
    return String::npos;
}

}  // namespace

bool TMaskPosition::Required() const {
    switch (Kind) {
    case TMaskCharKind::Digit:
    case TMaskCharKind::Letter:
    case TMaskCharKind::AlphaNum:
    case TMaskCharKind::Any: return true;
    default: return false;
    }
}

TEditMask::TEditMask(const String& mask) : source_(mask) {
    const size_t maskEnd = SectionEnd(mask, 0);
    const String body = mask.substr(0, maskEnd);
    if (maskEnd != String::npos) {
        const size_t saveEnd = mask.find(L';', maskEnd + 1);
        const String save = mask.substr(maskEnd + 1, saveEnd == String::npos ? String::npos : saveEnd - maskEnd - 1);
        saveLiterals_ = !(save.size() == 1 && save[0] == L'0');
        if (saveEnd != String::npos && saveEnd + 1 < mask.size()) blank_ = mask[saveEnd + 1];
    }

    TMaskCase mode = TMaskCase::None;
    for (size_t i = 0; i < body.size(); ++i) {
        const wchar_t c = body[i];
        TMaskPosition pos;
        pos.Case = mode;
        if (c == L'\\' && i + 1 < body.size()) {
            pos.Literal = body[++i];
        } else if (c == L'<' && i + 1 < body.size() && body[i + 1] == L'>') {
            mode = TMaskCase::None;
            ++i;
            continue;
        } else if (c == L'<' || c == L'>') {
            mode = c == L'>' ? TMaskCase::Upper : TMaskCase::Lower;
            continue;
        } else if (c == L'!') {
            fillFromRight_ = true;
            continue;
        } else if (!PositionChar(c, pos.Kind)) {
            pos.Literal = c;
        }
        positions_.push_back(pos);
    }
}

String TEditMask::EmptyEditText() const {
    String s;
    for (const TMaskPosition& p : positions_) s += p.IsLiteral() ? p.Literal : blank_;
    return s;
}

String TEditMask::EditTextToText(const String& editText) const {
    if (Empty()) return editText;
    String text;
    for (int i = 0; i < Length(); ++i) {
        const TMaskPosition& p = Position(i);
        if (p.IsLiteral()) {
            if (saveLiterals_) text += p.Literal;
            continue;
        }
        const wchar_t c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : blank_;
        text += c == blank_ ? L' ' : c;
    }
    // Without literals the positions are lost, so the unfilled side carries no information.
    if (!saveLiterals_) {
        if (fillFromRight_) {
            text.erase(0, std::min(text.find_first_not_of(L' '), text.size()));
        } else {
            const size_t last = text.find_last_not_of(L' ');
            text.erase(last == String::npos ? 0 : last + 1);
        }
    }
    return text;
}

String TEditMask::TextToEditText(const String& text) const {
    if (Empty()) return text;
    String edit = EmptyEditText();
    const int n = Length();
    const int len = static_cast<int>(text.size());
    const int step = fillFromRight_ ? -1 : 1;
    int t = fillFromRight_ ? len - 1 : 0;
    auto more = [&] { return t >= 0 && t < len; };
    for (int k = 0; k < n; ++k) {
        const int i = fillFromRight_ ? n - 1 - k : k;
        const TMaskPosition& p = Position(i);
        if (p.IsLiteral()) {
            if (saveLiterals_ && more() && text[static_cast<size_t>(t)] == p.Literal) t += step;
            continue;
        }
        // Characters that fit no position are skipped, as typing would refuse them.
        while (more()) {
            const wchar_t c = text[static_cast<size_t>(t)];
            t += step;
            if (c == L' ' || c == blank_) break;
            if (const wchar_t accepted = Accept(i, c)) {
                edit[static_cast<size_t>(i)] = accepted;
                break;
            }
        }
    }
    return edit;
}

wchar_t TEditMask::Accept(int index, wchar_t ch) const {
    if (index < 0 || index >= Length() || ch < L' ' || ch == blank_) return 0;
    const TMaskPosition& p = Position(index);
    const wchar_t c = ApplyCase(ch, p.Case);
    bool ok = false;
    switch (p.Kind) {
    case TMaskCharKind::Literal: ok = false; break;
    case TMaskCharKind::Digit:
    case TMaskCharKind::DigitOpt: ok = IsDigit(c); break;
    case TMaskCharKind::DigitOrSign: ok = IsDigit(c) || c == L'+' || c == L'-'; break;
    case TMaskCharKind::Letter:
    case TMaskCharKind::LetterOpt: ok = IsLetter(c); break;
    case TMaskCharKind::AlphaNum:
    case TMaskCharKind::AlphaNumOpt: ok = IsDigit(c) || IsLetter(c); break;
    case TMaskCharKind::Any:
    case TMaskCharKind::AnyOpt: ok = true; break;
    }
    return ok ? c : 0;
}

int TEditMask::FirstMissing(const String& editText) const {
    for (int i = 0; i < Length(); ++i) {
        if (!Position(i).Required()) continue;
        if (i >= static_cast<int>(editText.size())) return i;
        const wchar_t c = editText[static_cast<size_t>(i)];
        if (c == blank_ || c == L' ') return i;
    }
    return -1;
}

int TEditMask::NextInput(int index) const {
    for (int i = std::max(index, 0); i < Length(); ++i)
        if (!Position(i).IsLiteral()) return i;
    return Length();
}

int TEditMask::PrevInput(int index) const {
    for (int i = std::min(index, Length()) - 1; i >= 0; --i)
        if (!Position(i).IsLiteral()) return i;
    return -1;
}

void TEditMask::ClearSelection(TMaskEditState& state) const {
    Normalise(state);
    for (int i = state.SelStart; i < state.SelStart + state.SelLength; ++i)
        if (!Position(i).IsLiteral()) state.EditText[static_cast<size_t>(i)] = blank_;
    state.SelLength = 0;
}

void TEditMask::Normalise(TMaskEditState& state) const {
    if (static_cast<int>(state.EditText.size()) != Length()) state.EditText = TextToEditText(EditTextToText(state.EditText));
    state.SelStart = std::clamp(state.SelStart, 0, Length());
    state.SelLength = std::clamp(state.SelLength, 0, Length() - state.SelStart);
}

bool TEditMask::TypeChar(TMaskEditState& state, wchar_t ch) const {
    TMaskEditState next = state;
    Normalise(next);
    if (next.SelLength > 0) ClearSelection(next);
    const int p = next.SelStart;
    if (p < Length() && Position(p).IsLiteral() && Position(p).Literal == ch) {
        next.SelStart = NextInput(p + 1);
        state = next;
        return true;
    }
    const int i = NextInput(p);
    if (const wchar_t c = Accept(i, ch)) {
        next.EditText[static_cast<size_t>(i)] = c;
        next.SelStart = NextInput(i + 1);
        state = next;
        return true;
    }
    // The literal just stepped over by the previous character: typing it along is harmless.
    if (p > 0 && Position(p - 1).IsLiteral() && Position(p - 1).Literal == ch) {
        state = next;
        return true;
    }
    return false;
}

void TEditMask::Backspace(TMaskEditState& state) const {
    Normalise(state);
    if (state.SelLength > 0) {
        ClearSelection(state);
        return;
    }
    const int i = PrevInput(state.SelStart);
    if (i < 0) return;
    state.EditText[static_cast<size_t>(i)] = blank_;
    state.SelStart = i;
}

void TEditMask::DeleteForward(TMaskEditState& state) const {
    Normalise(state);
    if (state.SelLength > 0) {
        ClearSelection(state);
        return;
    }
    const int i = NextInput(state.SelStart);
    if (i < Length()) state.EditText[static_cast<size_t>(i)] = blank_;
}
