// TQuickIni: the skin description's INI reader, over the text held in memory.
//
// Loading keeps every line that says something (trimmed; no empty lines, no ";" comments) and
// notes where each "[section]" line is. A lookup finds the first section of that name (in any
// case), then the first line of that section whose key matches (in any case): that line decides,
// even when its value is empty (the default then stands). Later duplicates are never seen.
// The text is bytes, as the archive holds it; names compare by ASCII case rules.
#pragma once

#include <string>
#include <vector>

#include "framework/rtl/Streams.h"
#include "framework/rtl/System.h"

class TQuickIni : public TObject {
public:
    String ClassName() const override { return L"TQuickIni"; }

    // Reads from the stream's position to its end; nullptr does nothing. A zero byte ends the text.
    void LoadFromStream(TStream* stream);
    void LoadFromText(const std::string& text);

    // The section names in file order, without brackets, trimmed.
    void ReadSections(std::vector<std::string>& sections) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x"; a value that is no 32-bit integer gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

private:
    struct Section {
        std::string Line;  // "[name]" as kept
        std::size_t Index;  // of that line in lines_
    };

    const Section* FindSection(const std::string& section) const;

    std::vector<std::string> lines_;
    std::vector<Section> sections_;
};

// Trims spaces and control characters (bytes up to 0x20) at both ends.
std::string SkinTrim(const std::string& text);
// The text as a 32-bit integer (decimal, or hexadecimal after "$"), or false.
bool SkinStrToInt(const std::string& text, int& value);
