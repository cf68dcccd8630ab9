#include "export/TextExport.h"

#include "platform/CodePages.h"

#include <QString>

#include <cstdio>

namespace zandor {

std::string LinesToUtf8(const std::vector<std::string>& lines, int charset) {
    std::string out;
    for (const std::string& line : lines) {
        std::u16string text = platform::TextToUnicode(line, charset);
        // Code page 437 shows byte 9 as a ring, but in a text it is the tab the editor expands.
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '\t')
                text[i] = u'\t';
        out += QString::fromStdU16String(text).toStdString();
        out += '\n';
    }
    return out;
}

namespace {

std::string CssColor(platform::TColor color) {
    const QColor c = platform::ColorToQColor(color);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red(), c.green(), c.blue());
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string HtmlPage(const std::string& utf8Text, const std::string& title, platform::TColor foreground,
                     platform::TColor background) {
    const std::string fg = CssColor(foreground);
    const std::string bg = CssColor(background);
    // Line height 1 and no letter spacing keep the rows of block characters touching.
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escaped(title) +
           "</title>\n<style>\nbody { margin: 0; background: " + bg +
           "; }\npre { margin: 0; padding: 8px; color: " + fg + "; background: " + bg +
           "; font-family: \"DejaVu Sans Mono\", \"Liberation Mono\", Consolas, Menlo, \"Courier New\", "
           "monospace; font-size: 16px; line-height: 1; letter-spacing: 0; "
           "}\n</style>\n</head>\n<body>\n<pre>" +
           Escaped(utf8Text) + "</pre>\n</body>\n</html>\n";
}

} // namespace zandor
