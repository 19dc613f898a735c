// The update-information page as the web server hands it over: any bytes, decoded, split into
// lines, read for its META values and turned into readable text; then the values the page names
// go through the address, file-name and version rules the component applies to them.
#include <cstdint>
#include <string>

#include "webupdate/UpdateAddress.h"
#include "webupdate/UpdatePage.h"
#include "webupdate/VersionCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<String> lines = SplitPageLines(DecodePageBytes(bytes));
    const TWuPageValues values = ParseInfoPage(lines, TWuTagNames{});
    (void)PageText(lines);
    (void)SplitURL(values.Download);
    (void)SplitURL(values.Redirection);
    (void)IsPlainFileName(values.ClientFileName);
    (void)IsAcceptableSetupName(values.ClientFileName, {L"Folhavida.exe", L"update.exe"});
    (void)DisplayableText(values.Author);
    String path;
    (void)RedirectPath(values.Redirection, L"h", 80, path);
    for (TWuVersionFormat format : {vfStandard, vfString, vfNumber})
        (void)IsNewerVersion(values.Author, values.Version, format);
    return 0;
}
