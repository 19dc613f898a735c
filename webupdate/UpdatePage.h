// The update-information page: an HTML page whose lines of the form
//     <META NAME="wuVersion" CONTENT="3.1">
// carry the newest version's data. Reading it takes the page as plain lines; the page is never
// rendered here, though PageText gives a readable text of it for a window that cannot show HTML.
#pragma once

#include <string>
#include <vector>

#include "framework/rtl/System.h"

// The META names looked for, one per page value.
struct TWuTagNames {
    String ProductName = L"wuProduct";
    String ClientFileName = L"wuClientSideName";
    String Version = L"wuVersion";
    String Author = L"wuAuthor";
    String Email = L"wuEmail";
    String Download = L"wuDownload";
    String Redirection = L"wuRedirection";
    String RunParameters = L"wuRunParameters";
};

// What the page says; a value the page does not name is empty.
struct TWuPageValues {
    String ProductName;
    String ClientFileName;
    String Version;
    String Author;
    String Email;
    String Download;
    String Redirection;
    String RunParameters;
};

// The page's bytes as text: UTF-8 when they are valid UTF-8, otherwise Windows-1252.
String DecodePageBytes(const std::string& bytes);

// The lines of a text, split at CR, LF or CR LF.
std::vector<String> SplitPageLines(const String& text);

// The value of a META line: what follows CONTENT=" (found in any case) up to the next double
// quote within 255 characters; empty when no quote closes it there. A line without CONTENT=
// is read from its ninth character on, as the same rule gives.
String ContentOfMetaLine(const String& line);

// The name of a META line, after META NAME=" (case-sensitive), by the same rule; empty when the
// line has no "META NAME" or no quote closes the name.
String NameOfMetaLine(const String& line);

// Every line naming one of the tags sets that value; a later line replaces an earlier one.
TWuPageValues ParseInfoPage(const std::vector<String>& lines, const TWuTagNames& tags);

// The page as readable text: tags dropped, line-breaking elements as line breaks, the common
// character references decoded, blanks collapsed. The head (title, META lines) is left out.
String PageText(const std::vector<String>& lines);
