// Packs a skin: every .bmp file of a folder (in the order of their lower-case names) and the
// description (last) into an archive, compressed as a packed skin file. The output depends on
// nothing but the files' names and bytes, so packing the committed sources again gives the
// committed packed skin byte for byte.
//   SkinPack <folder> <description> <packed file>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/SkinRead.h"
#include "skin/SkinWrite.h"

namespace fs = std::filesystem;

namespace {

std::vector<Byte> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::vector<Byte>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<TSkinEntry> Entries(const fs::path& folder, const fs::path& description) {
    std::vector<TSkinEntry> entries;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        const std::string name = SkinLowerCase(file.path().filename().string());
        if (file.is_regular_file() && name.size() > 4 && name.ends_with(".bmp")) entries.push_back({name, ReadFile(file.path())});
    }
    std::sort(entries.begin(), entries.end(), [](const TSkinEntry& a, const TSkinEntry& b) { return a.Name < b.Name; });
    entries.push_back({description.filename().string(), ReadFile(description)});
    return entries;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: SkinPack <folder> <description> <packed file>\n");
        return 2;
    }
    try {
        const std::vector<Byte> packed = PackSkin(WriteSkinArchive(Entries(argv[1], argv[2])));
        std::ofstream out(argv[3], std::ios::binary);
        out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[3]);
        std::printf("%s: %zu bytes\n", argv[3], packed.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SkinPack: %s\n", e.what());
        return 1;
    }
}
