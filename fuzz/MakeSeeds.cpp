// Writes the fuzz targets' seed corpora, made by the page store's own writer and the tests'
// builders: MakeSeeds <corpus folder> <source folder>. The corpus is committed (fuzz/corpus);
// run this again when a format or a builder changes, and keep the inputs of past findings.
#include <cstdio>
#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "framework/classes/ClassesRegistration.h"
#include "framework/classes/ComponentScope.h"
#include "framework/rtl/Clock.h"
#include "framework/rtl/StringUtils.h"
#include "report/pagestore/QRCompress.h"
#include "report/pagestore/QRFileFormat.h"
#include "skin/SkinDescription.h"
#include "skin/SkinRead.h"
#include "skin/testing/ProbeSkin.h"
#include "skin/testing/SkinFixtures.h"
#include "testing/QRPageListFiles.h"
#include "testing/QRTestPages.h"
#include "testing/StreamingTestClasses.h"

namespace {

using Bytes = std::vector<Byte>;

std::string corpus;

void Write(const std::string& target, const std::string& name, std::span<const Byte> bytes) {
    std::ofstream(corpus + "/" + target + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& target, const std::string& name, const std::string& text) {
    Write(target, name, std::span(reinterpret_cast<const Byte*>(text.data()), text.size()));
}

std::vector<Bytes> SamplePages() {
    std::vector<Bytes> pages{qrtest::HandMadeEmf(120, 1), qrtest::HandMadeEmf(400, 2), qrtest::HandMadeEmf(1000, 3)};
    const auto sound = qrtest::SoundRecords();
    for (std::size_t i = 0; i < sound.size(); i += 4) pages.push_back(qrtest::EmfWith(sound[i].record));
    pages.push_back(qrtest::EmfWithHeaderBlocksAndPalette());
    return pages;
}

Bytes ImageOf(const std::vector<Bytes>& pages, bool compressed) {
    auto list = qrtest::NewList(Int64{1} << 24, compressed);
    for (const Bytes& page : pages) list->AddPageBytes(page);
    list->WriteHeader();
    return qrtest::StreamImage(*list->Stream());
}

// The same records behind an older header: 124 bytes (fields from offset 12 on 4 bytes lower)
// or the bare 96 bytes, whose records the reader counts itself.
Bytes WithOlderHeader(const Bytes& image, int headerSize) {
    Bytes header(image.begin(), image.begin() + QRHeaderSize);
    if (headerSize == QROldHeaderSize) header.erase(header.begin() + 12, header.begin() + 16);
    else header.assign(static_cast<std::size_t>(headerSize), 0);
    // Record offsets are absolute: the records move with the header.
    const int shift = QRHeaderSize - headerSize;
    Bytes records(image.begin() + QRHeaderSize, image.end());
    for (std::size_t at = 0; at < records.size();) {
        const std::size_t next = static_cast<std::size_t>(GetInt32LE(&records[at + 4])) - QRHeaderSize;
        PutInt32LE(&records[at + 4], GetInt32LE(&records[at + 4]) - shift);
        PutInt32LE(&records[next - 4], GetInt32LE(&records[next - 4]) - shift);
        at = next;
    }
    header.insert(header.end(), records.begin(), records.end());
    return header;
}

void PageStoreSeeds() {
    const ScopedClock clock(45271.75);  // the headers' creation time, so that seeds stay the same
    const std::vector<Bytes> pages = SamplePages();
    int n = 0;
    for (const Bytes& page : pages) {
        Bytes seed(2);
        seed[0] = static_cast<Byte>(page.size());
        seed[1] = static_cast<Byte>(page.size() >> 8);
        const Bytes coded = TQRCompress::Compress(page);
        seed.insert(seed.end(), coded.begin(), coded.end());
        Write("PageDecoder", "page" + std::to_string(++n), seed);
        Write("Metafile", "page" + std::to_string(n), page);
    }

    const std::vector<Bytes> three(pages.begin(), pages.begin() + 3);
    const std::vector<Bytes> offsets(pages.begin() + 3, pages.end());
    struct Image {
        std::string name;
        Bytes bytes;
    };
    const Bytes plain = ImageOf(three, false);
    const std::vector<Image> images = {
        {"empty", ImageOf({}, false)},
        {"plain3", plain},
        {"compressed3", ImageOf(three, true)},
        {"offsets-compressed", ImageOf(offsets, true)},
        {"old124", WithOlderHeader(plain, QROldHeaderSize)},
        {"bare96", WithOlderHeader(plain, QRBareHeaderSize)},
    };
    for (const Image& image : images) {  // each opens, with all its pages
        const String file = CreateTempFileName(L"fzs");
        {
            TFileStream out(file, fmCreate);
            out.WriteBuffer(image.bytes.data(), static_cast<Int64>(image.bytes.size()));
        }
        TQRPageList list;
        list.LoadFromFile(file);
        for (int page = 1; page <= list.PageCount(); ++page) list.GetPageBytes(page);
        std::printf("%s: %d pages\n", image.name.c_str(), list.PageCount());
        list.SetStream(nullptr);
        DeleteFile(file);
    }
    const Bytes steps = {6, 3, 1, 0xFE, 2, 0, 3};  // fetch 3, 1; seek to 2; fetch 2; wind; fetch 3
    for (const Image& image : images) {
        Write("QRPLoad", image.name, image.bytes);
        Bytes walk = steps;
        walk.insert(walk.end(), image.bytes.begin(), image.bytes.end());
        Write("PageWalk", image.name, walk);
        Write("QRPHeader", image.name, std::span(image.bytes).first(std::min<std::size_t>(image.bytes.size(), 160)));
    }
}

void ExpressionSeeds() {
    const char* const texts[] = {
        "10 - 4 + 3", "12 / 2 / 3", "(2 + 3) * 4", "5--2", "-(2 * 3)", "1.5E3", "2147483648",
        "1 <= 2", "'b' > 'a'", "'ab' + 'cd'", "'x' + 2.5", "[a + b", "not (1 > 2)", "6 and 3",
        "FALSE OR TRUE", "IF(1 < 2, 'sim', 'nao')", "STR(3.25)", "UPPER('ação')", "LOWER('ÇÃO')",
        "PRETTY('ana bela')", "COPY('Folhavida', 2, 3)", "SUM(Clientes.Idade)", "COUNT", "MAX(Salario)",
        "MIN('b')", "AVERAGE(Idade)", "INT(-2.5)", "FRAC(2.75)", "SQRT(2)", "DIV(7, 2)", "TYPEOF(Ativo)",
        "FORMATNUMERIC('#,##0.00', Salario)", "DATE", "TIME", "Clientes.Nome + ' (' + STR(Idade) + ')'",
        "[Nascimento]", "Foto", "AppName", "TAXA * 2\nTAXA=1.5", "A\nA=B\nB=A", "DOBRO\nDOBRO=SUM(1) * 2",
        "IF(Ativo, Nome, 'x')", "((((((((1))))))))", "'it''s'",
    };
    int n = 0;
    for (const char* text : texts) WriteText("Expression", "expr" + std::to_string(++n), text);
}

void DescriptionSeeds(const std::string& source) {
    RegisterClassesClasses();
    RegisterStreamingTestClasses();
    RegisterColorIdent(L"clTestRed", 0x0000FF);
    TComponentScope scope;
    const String text = kStreamingTestDescription;
    WriteText("Description", "streaming", StringToUtf8(text));
    auto root = CreateComponentFromText(text, L"seed");
    TMemoryStream written;
    WriteComponentToStream(root.get(), written);
    Write("Description", "streaming-written",
          std::span(static_cast<const Byte*>(written.Memory()), static_cast<std::size_t>(written.Size())));
    for (const char* file : {"framework/classes/ComponentResource_test.desc", "framework/forms/Forms_test.desc",
                             "app/forms/Tsobre.desc", "app/forms/Tsplash.desc", "app/forms/TForm1.desc"}) {
        std::ifstream in(source + "/" + file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::string name = file;
        WriteText("Description", name.substr(name.rfind('/') + 1), bytes);
    }
}

// ---- the picture checks: metafile records, Windows metafiles, icons ----

Bytes Record(Cardinal type, std::size_t size, std::initializer_list<std::pair<std::size_t, Cardinal>> fields) {
    Bytes record = qrtest::NewRecord(type, size);
    for (const auto& [at, value] : fields) qrtest::PutU32(record, at, value);
    return record;
}

// A page of the records the program's drawing makes: objects made, selected and deleted,
// clipping, shapes, polygons, text and a bitmap.
Bytes DrawingPage() {
    const auto sound = qrtest::SoundRecords();
    std::vector<Bytes> records = {
        Record(82, 104, {{8, 1}}), Record(37, 12, {{8, 1}}), Record(39, 24, {{8, 2}}), Record(37, 12, {{8, 2}}),
        Record(38, 28, {{8, 3}, {16, 1}}), Record(37, 12, {{8, 3}}), Record(37, 12, {{8, 0x80000007}}),
        Record(30, 24, {{16, 800}, {20, 1100}}), Record(43, 24, {{8, 10}, {12, 10}, {16, 700}, {20, 900}}),
        Record(42, 24, {{16, 50}, {20, 50}}), Record(86, 28 + 12, {{24, 3}}),
        Record(90, 32 + 8 + 16, {{24, 2}, {28, 4}, {32, 2}, {36, 2}}), Record(27, 16, {{8, 5}}), Record(54, 16, {{8, 90}}),
        Record(75, 64, {{8, 48}, {12, 1}, {16, 32}, {20, 1}, {24, 1}}), Record(40, 12, {{8, 2}}),
    };
    for (const auto& record : sound)
        if (std::string(record.name) == "EXTTEXTOUTW" || std::string(record.name) == "STRETCHDIBITS")
            records.push_back(record.record);
    Bytes body;
    for (const Bytes& record : records) body.insert(body.end(), record.begin(), record.end());
    Bytes page = qrtest::EmfWith(body);
    qrtest::PutU32(page, 52, static_cast<Cardinal>(records.size() + 2));
    return page;
}

void PutWord16(Bytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<Byte>(value);
    b[at + 1] = static_cast<Byte>(value >> 8);
}

// A Windows metafile of records given as their function and parameter words.
Bytes Wmf(const std::vector<std::vector<unsigned>>& records, unsigned objects) {
    Bytes wmf(18, 0);
    PutWord16(wmf, 0, 1);
    PutWord16(wmf, 2, 9);
    PutWord16(wmf, 4, 0x300);
    PutWord16(wmf, 10, objects);
    auto append = [&](const std::vector<unsigned>& words) {  // function, then parameters
        const std::size_t at = wmf.size();
        wmf.resize(at + 4 + 2 * words.size());
        qrtest::PutU32(wmf, at, static_cast<Cardinal>(2 + words.size()));
        for (std::size_t i = 0; i < words.size(); ++i) PutWord16(wmf, at + 4 + 2 * i, words[i]);
    };
    for (const auto& record : records) append(record);
    append({0});
    qrtest::PutU32(wmf, 6, static_cast<Cardinal>(wmf.size() / 2));
    return wmf;
}

Bytes WmfWithBitmap() {
    std::vector<unsigned> stretch = {0x0F43, 0x0020, 0x00CC, 0, 2, 2, 0, 0, 10, 10, 0, 0, 40, 0, 2, 0, 2, 0, 1, 24};
    stretch.resize(stretch.size() + 14 + 8, 0);  // the rest of the header, then two rows of 8 bytes
    return Wmf({{0x0103, 8}, {0x020C, 100, 100}, stretch}, 0);
}

// An icon of one 16 x 16 image of 32 bits, or one that is a PNG's start.
Bytes Icon(bool png) {
    Bytes file(png ? 22 + 33 : 22 + 40 + 16 * 16 * 4 + 16 * 4, 0);
    file[2] = file[4] = 1;
    file[6] = file[7] = 16;
    qrtest::PutU32(file, 14, static_cast<Cardinal>(file.size() - 22));
    qrtest::PutU32(file, 18, 22);
    if (png) {
        const Byte head[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 16, 0, 0, 0, 16};
        std::copy(std::begin(head), std::end(head), file.begin() + 22);
    } else {
        qrtest::PutU32(file, 22, 40);
        qrtest::PutU32(file, 26, 16);
        qrtest::PutU32(file, 30, 32);
        file[34] = 1;
        file[36] = 32;
    }
    return file;
}

// A BMP file of 4 x 2 pixels at depth bits: a 12-byte header or a 40-byte one, with bit fields
// (16 bits) or run-length data (8 bits) as its depth takes them, the whole colour table.
Bytes BmpFile(unsigned bits, bool core) {
    const std::size_t header = core ? 12 : 40;
    const std::size_t masks = bits == 16 ? 12 : 0;
    const std::size_t table = bits <= 8 ? (std::size_t{1} << bits) * (core ? 3 : 4) : 0;
    const std::size_t rowBytes = (4 * bits + 31) / 32 * 4;
    const Bytes rle = {4, 1, 0, 0, 4, 2, 0, 1};  // two rows of four, end of bitmap
    const bool coded = bits == 8 && !core;
    const std::size_t pixels = coded ? rle.size() : rowBytes * 2;
    Bytes file(14 + header + masks + table + pixels, 0);
    file[0] = 'B';
    file[1] = 'M';
    qrtest::PutU32(file, 2, static_cast<Cardinal>(file.size()));
    qrtest::PutU32(file, 10, static_cast<Cardinal>(14 + header + masks + table));
    qrtest::PutU32(file, 14, static_cast<Cardinal>(header));
    if (core) {
        PutWord16(file, 18, 4);
        PutWord16(file, 20, 2);
        PutWord16(file, 22, 1);
        PutWord16(file, 24, bits);
    } else {
        qrtest::PutU32(file, 18, 4);
        qrtest::PutU32(file, 22, 2);
        PutWord16(file, 26, 1);
        PutWord16(file, 28, bits);
        qrtest::PutU32(file, 30, bits == 16 ? 3 : coded ? 1 : 0);
        qrtest::PutU32(file, 34, coded ? static_cast<Cardinal>(rle.size()) : 0);
        if (bits == 16) {
            qrtest::PutU32(file, 54, 0x7C00);
            qrtest::PutU32(file, 58, 0x03E0);
            qrtest::PutU32(file, 62, 0x001F);
        }
    }
    if (coded) std::copy(rle.begin(), rle.end(), file.end() - static_cast<std::ptrdiff_t>(rle.size()));
    return file;
}

void PictureCheckSeeds() {
    for (const char* target : {"EmfCheck", "WmfCheck", "IconCheck", "BmpHeader"})
        ForceDirectories(Utf8ToString(corpus + "/" + target));
    int n = 0;
    for (const Bytes& page : SamplePages()) Write("EmfCheck", "page" + std::to_string(++n), page);
    Write("EmfCheck", "drawing", DrawingPage());
    Write("WmfCheck", "shapes", Wmf({{0x0103, 8}, {0x020C, 100, 100}, {0x02FC, 0, 0xFF, 0, 0}, {0x012D, 0},
                                     {0x041B, 90, 90, 10, 10}, {0x0324, 3, 0, 0, 10, 0, 10, 10},
                                     {0x0521, 3, 'A' | 'n' << 8, 'a', 5, 5}, {0x01F0, 0}}, 1));
    Write("WmfCheck", "bitmap", WmfWithBitmap());
    Write("IconCheck", "bitmap", Icon(false));
    Write("IconCheck", "png", Icon(true));
    for (unsigned bits : {1u, 4u, 8u, 16u, 24u, 32u}) Write("BmpHeader", "bits" + std::to_string(bits), BmpFile(bits, false));
    Write("BmpHeader", "core8", BmpFile(8, true));
}

// The skin's readers: our packed skin, probe skins, and copies cut short or with a byte flipped
// (in the size, the version, the name list, the sizes, the stream's middle). The archive target
// takes skins cut down to their small entries, which unpack fast enough for many runs.
Bytes SmallSkin(const Bytes& packed) {
    TMemoryStream stream;
    stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    TSkinReader reader;
    reader.LoadFromStream(stream);
    std::vector<TSkinEntry> entries;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        if (reader.EntrySize(i) > 1500 && reader.EntryName(i).find(".ini") == std::string::npos) continue;
        TMemoryStream entry;
        reader.ExtractByName(reader.EntryName(i), entry);
        const auto* bytes = static_cast<const Byte*>(entry.Memory());
        entries.push_back({reader.EntryName(i), Bytes(bytes, bytes + entry.Size())});
    }
    return PackSkin(WriteSkinArchive(entries));
}

// The description target: our skin's description (as it is, and with settings at their edges), a zero byte, then the sizes of the bitmaps it
// names in the order the reader asks for them (0 x 0: no such bitmap). The bitmap header target
// takes some of our skin's bitmaps, one of each depth.
void SkinDescriptionSeeds(const Bytes& ours) {
    for (const char* target : {"SkinDescription", "BmpHeader"}) ForceDirectories(Utf8ToString(corpus + "/" + target));
    auto seed = [](const Bytes& packed, const std::vector<TIniSetting>& settings) {
        TMemoryStream stream;
        stream.WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
        TSkinReader archive;
        archive.LoadFromStream(stream);
        TMemoryStream text;
        std::string name;
        archive.ExtractByPart(".ini", text, name);
        std::string description(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
        for (const TIniSetting& s : settings) description = SetIniValue(description, s.Section, s.Key, s.Value);
        TQuickIni ini;
        ini.LoadFromText(description);
        std::vector<std::string> asked;
        const TSkinImageProbe sizes = ArchiveImageProbe(archive);
        ReadSkinDescription(ini, [&](const std::string& entry) {
            if (std::find(asked.begin(), asked.end(), entry) == asked.end()) asked.push_back(entry);
            return sizes(entry);
        });
        Bytes bytes(description.begin(), description.end());
        bytes.push_back(0);
        for (const std::string& entry : asked) {
            const TSkinImageSize size = sizes(entry).value_or(TSkinImageSize{});
            for (int value : {size.Width, size.Height}) {
                bytes.push_back(static_cast<Byte>(value));
                bytes.push_back(static_cast<Byte>(value >> 8));
            }
        }
        return bytes;
    };
    Write("SkinDescription", "ours", seed(ours, {}));
    Write("SkinDescription", "edges",
          seed(ours, {{"Headerbar", "Frame", "0"}, {"MenuItem", "Frame", "7"}, {"Tab.Pane", "LeftWidth", "9"},
                      {"ButtonX", "Action", "-1"}, {"ButtonY", "Action", "-1"}, {"ButtonY", "Visibility", "0"},
                      {"Button3", "ButtonImage", "Frames\\Top.BMP"}, {"Button2", "frame", "-3"},
                      {"Buttons", "RadioButtonFrame", "0"}, {"Colours", "Menu", "999999999999 1 2"},
                      {"Colours", "ButtonFace", "10 20"}, {"Personality", "TopFrame", "0"},
                      {"SunkEdge", "Image", "skins\\tab.bmp"}, {"Track", "Image", "progress.bmp"},
                      {"MDICONTROLS", "Image", "spinarrow.bmp"}}));

    TMemoryStream stream;
    stream.WriteBuffer(ours.data(), static_cast<Int64>(ours.size()));
    TSkinReader archive;
    archive.LoadFromStream(stream);
    for (const char* entry : {"spinarrow.bmp", "menubackground.bmp", "progress.bmp"}) {
        TMemoryStream bitmap;
        archive.ExtractByName(entry, bitmap);
        Write("BmpHeader", entry, std::span(static_cast<const Byte*>(bitmap.Memory()), static_cast<std::size_t>(bitmap.Size())));
    }
}

void SkinSeeds() {
    for (const char* target : {"LzhDecode", "SkinArchive", "SkinIni"}) ForceDirectories(Utf8ToString(corpus + "/" + target));
    const Bytes ours = OurPackedSkin();
    const Bytes probe = MakeProbeSkin();
    Write("LzhDecode", "ours", ours);
    Write("LzhDecode", "probe", probe);
    const std::vector<std::pair<std::string, Bytes>> skins = {
        {"ours-small", SmallSkin(ours)}, {"probe-small", SmallSkin(probe)},
        {"probe-button5-small", SmallSkin(MakeProbeSkin(ProbeWithUnknownAction()))},
        {"tiny", PackSkin(WriteSkinArchive({{"a.bmp", {'B', 'M'}}, {"skin.ini", {'[', 'A', ']'}}}))},
    };
    for (const auto& [name, packed] : skins) {
        std::vector<std::pair<std::string, Bytes>> copies = {{name, packed}};
        copies.push_back({name + "-half", Bytes(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packed.size() / 2))});
        for (std::size_t at : {std::size_t{3}, std::size_t{6}, std::size_t{12}, packed.size() / 2}) {
            Bytes flipped = packed;
            if (at < flipped.size()) flipped[at] ^= 0x5A;
            copies.push_back({name + "-flip" + std::to_string(at), flipped});
        }
        for (const auto& [copy, bytes] : copies) {
            Write("SkinArchive", copy, bytes);
            if (copy.find("flip3") == std::string::npos) Write("LzhDecode", copy, bytes);
        }
    }
    WriteText("SkinIni", "ours", std::string(SkinFixtureFile("ours/skin.ini")));
    SkinDescriptionSeeds(ours);
    static const char edges[] = "[Colours]\r\n; note\r\nMenu = 1 2 3\r\nmenu=4\n[A]\rKey=\rHex=0x1F\rBad=0x\r"
                                "Big=99999999999\r[ B ]\n=v\nK=a=b\n[C]\nX=1\0[D]\n";
    WriteText("SkinIni", "edges", std::string(edges, sizeof edges - 1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: MakeSeeds <corpus folder> <source folder>\n");
        return 2;
    }
    corpus = argv[1];
    for (const char* target : {"PageDecoder", "Metafile", "QRPHeader", "PageWalk", "QRPLoad", "Expression", "Description"})
        ForceDirectories(Utf8ToString(corpus + "/" + target));
    PageStoreSeeds();
    ExpressionSeeds();
    DescriptionSeeds(argv[2]);
    PictureCheckSeeds();
    SkinSeeds();
    return 0;
}
