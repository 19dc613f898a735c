// The PostScript printer on FILE: that the harness installs for printing tests (a CTest fixture),
// and a look into the files it writes.
#pragma once

#include <algorithm>
#include <fstream>
#include <string>

#include "framework/printers/Printer.h"

inline constexpr wchar_t kTestPrinterName[] = L"Folhavida Test Printer";

// The test printer's index among the printer object's printers, or -1 when it is not installed.
inline int TestPrinterIndex(TPrinter& printer) {
    const auto& names = printer.Printers();
    const auto found = std::find(names.begin(), names.end(), String(kTestPrinterName));
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// PostScript comments such as "%%Page:" count the pages and name the title.
inline int CountLinesStartingWith(const String& fileName, const std::string& prefix) {
    std::ifstream file(std::string(fileName.begin(), fileName.end()), std::ios::binary);
    std::string line;
    int count = 0;
    while (std::getline(file, line))
        if (line.rfind(prefix, 0) == 0) ++count;
    return count;
}
