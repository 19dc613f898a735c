// The splash window shown while start-up creates the program's windows, and the about box.
#pragma once

#include "framework/forms/Forms.h"

class TImage;
class TProgressBar;

// Borderless picture with a progress bar; start-up owns and frees it.
class Tsplash : public TForm {
    FV_CLASS(Tsplash, TForm)
public:
    explicit Tsplash(TComponent* owner);
    ~Tsplash() override;

    // Repaints the window at once, moves the bar to position and, unless repaintAfter is false,
    // repaints again (the window gets no other chance to paint during start-up).
    void ShowProgress(int position, bool repaintAfter = true);

    TImage* Image1 = nullptr;
    TProgressBar* Progresso = nullptr;
};

// The about box: a picture in a window with only a close button, shown modally from the menu.
class Tsobre : public TForm {
    FV_CLASS(Tsobre, TForm)
public:
    explicit Tsobre(TComponent* owner);
    ~Tsobre() override;

    TImage* Image1 = nullptr;
};

extern Tsobre* sobre;
