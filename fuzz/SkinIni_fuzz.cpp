// The skin description: any text loaded, its sections listed, and every key of every line looked
// up in every section as a string and as an integer (the first 16 of each: a run stays short).
#include <cstdint>
#include <string>
#include <vector>

#include "skin/SkinIni.h"
#include "skin/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4 * 1024) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TQuickIni ini;
    TStringStream stream(text);
    ini.LoadFromStream(&stream);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::vector<std::string> keys;
    for (const std::string& line : SplitSkinLines(text)) keys.push_back(line.substr(0, line.find('=')));
    if (keys.size() > 16) keys.resize(16);
    if (sections.size() > 16) sections.resize(16);
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            (void)ini.ReadString(section, SkinTrim(key), "default");
            (void)ini.ReadInteger(section, SkinTrim(key), -1);
        }
    }
    return 0;
}
