// A fresh folder per test for the files an export writes, emptied and removed afterwards, and
// reading back what lies in it.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"

class TExportTestFolder {
public:
    TExportTestFolder() {
        static int counter = 0;
        path_ = GetTempDirectory() + L"fv-export-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        ForceDirectories(path_);
    }
    ~TExportTestFolder() {
        for (const String& name : Files()) DeleteFile(path_ + name);
        RemoveDir(path_);
    }
    TExportTestFolder(const TExportTestFolder&) = delete;
    TExportTestFolder& operator=(const TExportTestFolder&) = delete;

    const String& Path() const { return path_; }
    String operator/(const String& name) const { return path_ + name; }

    // The names of the files in the folder, sorted.
    std::vector<String> Files() const {
        std::vector<String> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Read(const String& name) const {
        TFileStream stream(path_ + name, fmOpenRead | fmShareDenyNone);
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        return bytes;
    }

    void Write(const String& name, const std::string& bytes) const {
        TFileStream stream(path_ + name, fmCreate);
        if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    }

private:
    String path_;
};
