#include "report/printer/QRPaper.h"

#include <array>

#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Numeric.h"

namespace {

// Index i holds code i, except Custom (256).
constexpr std::array<TQRPaperEntry, QRPaperSizeCount> kPapers{{
    {0, 0, 0},          // Default
    {1, 215.9, 279.4},  // Letter
    {2, 215.9, 279.4},  // LetterSmall
    {3, 279.4, 431.8},  // Tabloid
    {4, 431.8, 279.4},  // Ledger
    {5, 215.9, 355.6},  // Legal
    {6, 139.7, 215.9},  // Statement
    {7, 190.5, 254},    // Executive
    {8, 297, 420},      // A3
    {9, 210, 297},      // A4
    {10, 210, 297},     // A4Small
    {11, 148, 210},     // A5
    {12, 250, 354},     // B4
    {13, 182, 257},     // B5
    {14, 215.9, 330.2}, // Folio
    {15, 215, 275},     // Quarto
    {16, 254, 355.6},   // qr10X14
    {17, 279.4, 431.8}, // qr11X17
    {18, 215.9, 279.4}, // Note
    {19, 98.43, 225.4}, // Env9
    {20, 104.8, 241.3}, // Env10
    {21, 114.3, 263.5}, // Env11
    {22, 120.7, 279.4}, // Env12
    {23, 127, 292.1},   // Env14
    {24, 431.8, 558.8}, // CSheet
    {25, 558.8, 863.6}, // DSheet
    {26, 863.6, 1117.6},// ESheet
    {27, 110, 220},     // EnvDL
    {28, 162, 229},     // EnvC5
    {29, 324, 458},     // EnvC3
    {30, 229, 324},     // EnvC4
    {31, 114, 162},     // EnvC6
    {32, 114, 229},     // EnvC65
    {33, 250, 353},     // EnvB4
    {34, 176, 250},     // EnvB5
    {35, 176, 125},     // EnvB6
    {36, 110, 230},     // EnvItaly
    {37, 98.43, 190.5}, // EnvMonarch
    {38, 92.01, 165.1}, // EnvPersonal
    {39, 377.8, 279.4}, // FanfoldUSStd
    {40, 215.9, 304.8}, // FanfoldGerStd
    {41, 215.9, 330.2}, // FanfoldGerLegal
    {42, 250, 353},     // B4ISO
    {43, 100, 148},     // PostcardJap
    {44, 228.6, 279.4}, // qr9X11
    {45, 254, 279.4},   // qr10X11
    {46, 381, 279.4},   // qr15X11
    {47, 220, 220},     // EnvInvite
    {48, 100, 100},     // Reserved1
    {49, 100, 100},     // Reserved2
    {50, 241.3, 304.8}, // LetterExtra
    {51, 241.3, 381},   // LegalExtra
    {52, 296.9, 457.2}, // TabloidExtra
    {53, 236, 322},     // A4Extra
    {54, 279.4, 215.9}, // LetterTrans
    {55, 297, 210},     // A4Trans
    {56, 304.8, 241.3}, // LetterExtraTrans
    {57, 227, 356},     // SuperASuperAA4
    {58, 305, 487},     // SuperBSuperBA3
    {59, 215.9, 322.3}, // LetterPlus
    {60, 210, 330},     // A4Plus
    {61, 210, 148},     // A5Trans
    {62, 257, 182},     // B5Trans
    {63, 322, 445},     // A3Extra
    {64, 174, 235},     // A5Extra
    {65, 201, 276},     // B5Extra
    {66, 420, 594},     // A2
    {67, 420, 297},     // A3Trans
    {68, 445, 322},     // A3ExtraTrans
    {256, 0, 0},        // Custom
}};

// First 1 ... LargeCapacity 11, then Cassette and Last 14.
constexpr std::array<int, QRBinCount> kBinCodes{1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

int ToTenthsMM(double mm) { return static_cast<int>(Round(static_cast<Extended>(mm) * 10)); }

}  // namespace

const TQRPaperEntry& QRPaperEntry(TQRPaperSize size) {
    const int index = static_cast<int>(size);
    return kPapers[index >= 0 && index < QRPaperSizeCount ? static_cast<size_t>(index) : 0];
}

int QRBinCode(TQRBin bin) {
    const int index = static_cast<int>(bin);
    return kBinCodes[index >= 0 && index < QRBinCount ? static_cast<size_t>(index) : 0];
}

TQRPaperSize QRPaperSizeOfCode(int code) {
    for (int i = 0; i < QRPaperSizeCount; ++i)
        if (kPapers[static_cast<size_t>(i)].Code == code) return static_cast<TQRPaperSize>(i);
    return TQRPaperSize::Default;
}

TQRBin QRBinOfCode(int code) {
    for (int i = 0; i < QRBinCount; ++i)
        if (kBinCodes[static_cast<size_t>(i)] == code) return static_cast<TQRBin>(i);
    return TQRBin::First;
}

int QRPaperWidth(TQRPaperSize size) { return ToTenthsMM(QRPaperEntry(size).WidthMM); }
int QRPaperLength(TQRPaperSize size) { return ToTenthsMM(QRPaperEntry(size).LengthMM); }

TQRPaperSize QRFallbackPaperSize() {
    return DefaultFormatSettings().MeasureInInches ? TQRPaperSize::Letter : TQRPaperSize::A4;
}
