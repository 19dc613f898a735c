// The few TrueType tables a PDF font descriptor needs, read with bounds checks: a table is found
// by its tag in the table directory (of a single font or of one font in a collection), and a
// table too short for a field yields no value instead of a read past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "framework/rtl/System.h"

struct TTrueTypeHead {
    std::uint16_t UnitsPerEm = 0;
    std::int16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
};

struct TTrueTypeOS2 {
    std::uint8_t FamilyClass = 0;  // the class, the high byte of sFamilyClass
    std::uint16_t WeightClass = 400;
    std::optional<std::int16_t> CapHeight;  // from table version 2 on
};

// The bytes of the table with that tag ("head", "OS/2") in fontFile, or nothing when the file
// has no such table or the directory points outside the file. A collection ("ttcf") is read at
// its font number fontIndex.
std::optional<std::span<const Byte>> FindTrueTypeTable(std::span<const Byte> fontFile, const char (&tag)[5],
                                                       std::uint32_t fontIndex = 0);
std::optional<TTrueTypeHead> ParseTrueTypeHead(std::span<const Byte> table);
// The italic angle of a "post" table (its first 8 bytes suffice), in degrees counter-clockwise
// from the vertical: a face leaning right has a negative angle.
std::optional<double> ParseTrueTypeItalicAngle(std::span<const Byte> table);
std::optional<TTrueTypeOS2> ParseTrueTypeOS2(std::span<const Byte> table);

// Where a face draws its underline, from its "post" table (the first 12 bytes suffice), in
// design units: the rule's distance above the baseline (negative: below it) and its thickness.
struct TTrueTypeUnderline {
    std::int16_t Position = 0;
    std::int16_t Thickness = 0;
};
std::optional<TTrueTypeUnderline> ParseTrueTypeUnderline(std::span<const Byte> table);

// A length in design units as 1000 units per em, rounded.
std::int32_t ScaleTo1000(std::int32_t value, std::uint16_t unitsPerEm);
// Whether the family class is one of the serif classes.
bool SerifFamilyClass(std::uint8_t familyClass);
// Whether the family class is the scripts class (faces that look handwritten).
bool ScriptFamilyClass(std::uint8_t familyClass);
// A stem width for the descriptor, from the weight class (regular 400 gives 80, bold 700 gives 150).
std::int32_t StemVFromWeight(std::uint16_t weightClass);
