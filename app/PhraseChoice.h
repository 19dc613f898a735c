// The closing-phrase choice of the main window: three ready-made phrases (frase1..frase3) and
// the user's own phrase (frase4, typed into the phrase editor), of which at most one is ticked.
#pragma once

#include <array>

struct TPhraseChoice {
    std::array<bool, 4> Checked{};  // frase1..frase4
    bool EditorEnabled = false;
    bool FocusEditor = false;  // the focus moves into the editor

    bool operator==(const TPhraseChoice&) const = default;
};

// The state after a click on box (0..3 for frase1..frase4); current.Checked[box] already holds
// the box's new state, as it does when the click handler runs.
TPhraseChoice ClickPhraseBox(TPhraseChoice current, int box);
