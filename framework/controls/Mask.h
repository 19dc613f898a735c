// The edit-mask language of masked edits, as pure text logic (no window).
//
// A mask has up to three sections separated by ';':  mask ; save-literals ; blank
//   mask           positions and literals (below)
//   save-literals  '0': Text leaves the literals out; anything else (default): Text keeps them
//   blank          the character shown in empty positions of EditText (default '_')
//
// Positions:  0 digit      9 digit (optional)     # digit, '+' or '-' (optional)
//             L letter     l letter (optional)    A letter or digit   a letter or digit (optional)
//             C any        c any (optional)
// Directives (take no position):  \x the literal x   > upper case from here   < lower case from
//             here   <> no case conversion from here   ! a short Text fills from the right
//             (optional positions left empty at the start instead of the end)
// Every other character is a literal.
//
// EditText is what the field shows: one character per position, blanks in empty positions.
// Text is the value: empty positions as spaces, literals kept or left out by the second section.
#pragma once

#include <vector>

#include "framework/rtl/System.h"

enum class TMaskCharKind { Literal, Digit, DigitOpt, DigitOrSign, Letter, LetterOpt, AlphaNum, AlphaNumOpt, Any, AnyOpt };
enum class TMaskCase { None, Upper, Lower };

struct TMaskPosition {
    TMaskCharKind Kind = TMaskCharKind::Literal;
    wchar_t Literal = 0;  // for Literal positions
    TMaskCase Case = TMaskCase::None;

    bool IsLiteral() const { return Kind == TMaskCharKind::Literal; }
    bool Required() const;
};

// The state of a field being typed into: its EditText and selection (a caret when SelLength is 0).
struct TMaskEditState {
    String EditText;
    int SelStart = 0;
    int SelLength = 0;
};

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const String& mask);

    const String& Source() const { return source_; }
    // No positions: the field is a plain edit.
    bool Empty() const { return positions_.empty(); }
    int Length() const { return static_cast<int>(positions_.size()); }
    const TMaskPosition& Position(int index) const { return positions_[static_cast<size_t>(index)]; }
    bool SaveLiterals() const { return saveLiterals_; }
    wchar_t Blank() const { return blank_; }
    bool FillFromRight() const { return fillFromRight_; }

    String EmptyEditText() const;
    String EditTextToText(const String& editText) const;
    String TextToEditText(const String& text) const;

    // The character as stored at an input position (case applied), or 0 when it does not fit.
    wchar_t Accept(int index, wchar_t ch) const;
    // Index of the first required position left blank, or -1 when every one is filled.
    int FirstMissing(const String& editText) const;
    bool IsComplete(const String& editText) const { return FirstMissing(editText) < 0; }

    // The first input position at or after index (Length() when none), and the last one before
    // index (-1 when none).
    int NextInput(int index) const;
    int PrevInput(int index) const;

    // Keyboard editing. TypeChar answers false (state unchanged) for a character that fits no
    // position; a selection is cleared first. Typing a literal where that literal stands steps over it.
    bool TypeChar(TMaskEditState& state, wchar_t ch) const;
    void Backspace(TMaskEditState& state) const;
    void DeleteForward(TMaskEditState& state) const;
    // Clears the selection's input positions; the caret goes to its start.
    void ClearSelection(TMaskEditState& state) const;

private:
    // A text of the wrong length (set from outside) is re-fitted; the selection is clamped.
    void Normalise(TMaskEditState& state) const;

    String source_;
    std::vector<TMaskPosition> positions_;
    bool saveLiterals_ = true;
    wchar_t blank_ = L'_';
    bool fillFromRight_ = false;
};
