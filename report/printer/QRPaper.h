// What the report engine knows about paper: the paper sizes and paper sources it names, their
// Windows codes (the DEVMODE dmPaperSize and dmDefaultSource values) and the paper sizes in
// millimetres. One table row per paper, one per source; every lookup reads these tables. Codes
// are ints all the way through, so a driver's code above the table (or above 255) is looked up
// as it is and is never taken for another paper.
#pragma once

#include "framework/classes/Properties.h"
#include "framework/rtl/System.h"

enum class TQRPaperSize : int {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5,
    B4, B5, Folio, Quarto, qr10X14, qr11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet, DSheet,
    ESheet, EnvDL, EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch,
    EnvPersonal, FanfoldUSStd, FanfoldGerStd, FanfoldGerLegal, B4ISO, PostcardJap, qr9X11, qr10X11,
    qr15X11, EnvInvite, Reserved1, Reserved2, LetterExtra, LegalExtra, TabloidExtra, A4Extra,
    LetterTrans, A4Trans, LetterExtraTrans, SuperASuperAA4, SuperBSuperBA3, LetterPlus, A4Plus,
    A5Trans, B5Trans, A3Extra, A5Extra, B5Extra, A2, A3Trans, A3ExtraTrans, Custom
};
FV_ENUM_NAMES(TQRPaperSize, Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive,
              A3, A4, A4Small, A5, B4, B5, Folio, Quarto, qr10X14, qr11X17, Note, Env9, Env10, Env11,
              Env12, Env14, CSheet, DSheet, ESheet, EnvDL, EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4,
              EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUSStd, FanfoldGerStd,
              FanfoldGerLegal, B4ISO, PostcardJap, qr9X11, qr10X11, qr15X11, EnvInvite, Reserved1,
              Reserved2, LetterExtra, LegalExtra, TabloidExtra, A4Extra, LetterTrans, A4Trans,
              LetterExtraTrans, SuperASuperAA4, SuperBSuperBA3, LetterPlus, A4Plus, A5Trans, B5Trans,
              A3Extra, A5Extra, B5Extra, A2, A3Trans, A3ExtraTrans, Custom)
constexpr int QRPaperSizeCount = 70;

enum class TQRBin : int {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat, LargeFormat,
    LargeCapacity, Cassette, Last
};
FV_ENUM_NAMES(TQRBin, First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
              LargeFormat, LargeCapacity, Cassette, Last)
constexpr int QRBinCount = 14;

struct TQRPaperEntry {
    int Code;  // dmPaperSize
    double WidthMM;
    double LengthMM;  // 0 x 0 for Default and Custom: their size is the one the settings hold
};

const TQRPaperEntry& QRPaperEntry(TQRPaperSize size);
inline int QRPaperCode(TQRPaperSize size) { return QRPaperEntry(size).Code; }
int QRBinCode(TQRBin bin);

// The first paper (or source) that carries the code; Default (or First) for a code not listed.
TQRPaperSize QRPaperSizeOfCode(int code);
TQRBin QRBinOfCode(int code);

// The table's size in 0.1 mm, to the nearest integer (0 for Default and Custom).
int QRPaperWidth(TQRPaperSize size);
int QRPaperLength(TQRPaperSize size);

// The paper to assume when no printer can say: Letter where the locale measures in inches, A4
// everywhere else.
TQRPaperSize QRFallbackPaperSize();
