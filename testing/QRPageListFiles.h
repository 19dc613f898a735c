// Page lists for the page-store tests, and a folder of its own for each test that writes
// prepared-report files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "report/pagestore/QRPageList.h"

namespace qrtest {

using Image = std::vector<Byte>;

inline std::unique_ptr<TQRPageList> NewList(Int64 memoryLimit, bool compressed = false) {
    auto list = std::make_unique<TQRPageList>();
    list->SetCompression(compressed);
    list->SetStream(std::make_unique<TQRStream>(memoryLimit));
    return list;
}

inline Image StreamImage(TQRStream& stream) {
    Image bytes(static_cast<std::size_t>(stream.Size()));
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    return bytes;
}

class PageListFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // Named after a fresh temporary file, so that no two runs share a folder.
        marker_ = CreateTempFileName(L"qrp");
        folder_ = marker_ + L".d\\";
        ASSERT_TRUE(ForceDirectories(folder_));
    }
    void TearDown() override {
        for (const String& name : FilesInFolder()) DeleteFile(folder_ + name);
        RemoveDir(folder_);
        DeleteFile(marker_);
    }
    String PathOf(const wchar_t* name) const { return folder_ + name; }
    std::vector<String> FilesInFolder() const {
        // The standard library knows only the system's own separator.
        String folder = folder_;
        std::replace(folder.begin(), folder.end(), L'\\', static_cast<wchar_t>(std::filesystem::path::preferred_separator));
        std::vector<String> names;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
            if (entry.is_regular_file()) names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    String WriteImage(const wchar_t* name, const Image& image) const {
        String path = PathOf(name);
        TFileStream file(path, fmCreate);
        file.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
        return path;
    }
    static Image ReadImage(const String& path) {
        TQRStream stream(path);
        return StreamImage(stream);
    }

private:
    String marker_;
    String folder_;
};

}  // namespace qrtest
