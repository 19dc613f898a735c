#include "app/PhraseChoice.h"

#include <gtest/gtest.h>

namespace {

TPhraseChoice State(std::array<bool, 4> checked, bool editor) {
    TPhraseChoice s;
    s.Checked = checked;
    s.EditorEnabled = editor;
    return s;
}

}  // namespace

TEST(PhraseChoice, AtMostOneBoxIsTicked) {
    struct Case {
        const char* what;
        TPhraseChoice afterClick;  // the clicked box already shows its new state
        int box;
        TPhraseChoice expected;
    };
    TPhraseChoice ownFocused = State({false, false, false, true}, true);
    ownFocused.FocusEditor = true;
    const Case cases[] = {
        {"ready-made ticked", State({false, true, false, false}, false), 1,
         State({false, true, false, false}, false)},
        {"ready-made replaces another", State({true, false, true, false}, false), 2,
         State({false, false, true, false}, false)},
        {"ready-made replaces the own phrase", State({false, true, false, true}, true), 1,
         State({false, true, false, false}, false)},
        {"own phrase ticked", State({true, false, false, true}, false), 3, ownFocused},
        {"own phrase cleared", State({false, false, false, false}, true), 3,
         State({false, false, false, false}, false)},
        {"ready-made cleared", State({false, false, false, false}, false), 0,
         State({false, false, false, false}, false)},
    };
    for (const Case& c : cases) EXPECT_EQ(ClickPhraseBox(c.afterClick, c.box), c.expected) << c.what;
}
