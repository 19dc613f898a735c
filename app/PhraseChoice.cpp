#include "app/PhraseChoice.h"

#include <cstddef>

namespace {
constexpr int OwnPhrase = 3;
}

TPhraseChoice ClickPhraseBox(TPhraseChoice current, int box) {
    TPhraseChoice next = current;
    next.FocusEditor = false;
    if (box < 0 || box > OwnPhrase) return next;
    const bool ticked = current.Checked[static_cast<size_t>(box)];
    if (box == OwnPhrase) {
        next.EditorEnabled = ticked;
        if (ticked) {
            next.Checked = {false, false, false, true};
            next.FocusEditor = true;
        }
    } else if (ticked) {
        next.Checked = {};
        next.Checked[static_cast<size_t>(box)] = true;
        next.EditorEnabled = false;
    }
    // Clearing a ready-made phrase changes nothing else: no box need be ticked.
    return next;
}
