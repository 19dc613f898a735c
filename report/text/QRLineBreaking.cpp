#include "report/text/QRLineBreaking.h"

namespace {

class TLineBreaker {
public:
    TLineBreaker(const TQRLineBreakOptions& options, const TQRTextMeasure& measure, std::vector<String>& lines)
        : options_(options), measure_(measure), lines_(lines) {}

    void Paragraph(const String& text) {
        if (options_.AutoSize) {
            lines_.push_back(text);
            return;
        }
        if (!options_.WordWrap) {
            lines_.push_back(Fitting(text));
            return;
        }
        String line;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find_first_of(L" -", start);
            end = end == String::npos ? text.size() : end + 1;
            AddWord(line, text.substr(start, end - start));
            start = end;
        }
        lines_.push_back(line);
    }

private:
    // The longest front part of text that fits the width; at least one character, so that even
    // a label narrower than a letter makes progress.
    String Fitting(const String& text) const {
        std::size_t count = 0;
        while (count < text.size() && measure_(text.substr(0, count + 1)) <= options_.Width) ++count;
        if (count == 0 && !text.empty()) count = 1;
        return text.substr(0, count);
    }

    void AddWord(String& line, String word) {
        if (measure_(line + word) <= options_.Width) {
            line += word;
            return;
        }
        if (!line.empty()) {
            lines_.push_back(line);
            line.clear();
        }
        // The word alone is too wide: whole lines of its characters, the rest starts a line.
        while (measure_(word) > options_.Width) {
            String part = Fitting(word);
            if (part.size() == word.size()) break;  // one character wider than the label
            lines_.push_back(part);
            word.erase(0, part.size());
        }
        line = word;
    }

    const TQRLineBreakOptions& options_;
    const TQRTextMeasure& measure_;
    std::vector<String>& lines_;
};

}  // namespace

std::vector<String> BreakIntoLines(const String& text, const TQRLineBreakOptions& options,
                                   const TQRTextMeasure& measure) {
    String plain;
    plain.reserve(text.size());
    for (wchar_t c : text)
        if (c != L'\n') plain += c;
    std::vector<String> lines;
    TLineBreaker breaker(options, measure, lines);
    std::size_t start = 0;
    for (std::size_t cr = plain.find(L'\r'); cr != String::npos; cr = plain.find(L'\r', start)) {
        breaker.Paragraph(plain.substr(start, cr - start));
        start = cr + 1;
    }
    breaker.Paragraph(plain.substr(start));
    return lines;
}
