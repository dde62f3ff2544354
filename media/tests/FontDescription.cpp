#include "FontDescription.h"

#include <cstdio>

namespace mediatest {

namespace {

// Hands out the stored bytes of the description one at a time.
class DescriptionReader {
public:
    explicit DescriptionReader(const std::string& text) : m_text(text) {}

    // The next stored byte; false at the end of the text.
    bool next(bool skipSpaces, char& out)
    {
        while (m_position < m_text.size()) {
            const char c = m_text[m_position++];
            if (c == '\'') {
                m_inComment = !m_inComment;
                continue;
            }
            if (m_inComment || c == '\r' || c == '\n' || c == '\t' || (skipSpaces && c == ' '))
                continue;
            out = c;
            return true;
        }
        return false;
    }

    // `count` stored bytes, spaces dropped; false when the text ends first.
    bool read(int count, std::string& out)
    {
        out.clear();
        char c;
        while (static_cast<int>(out.size()) < count && next(true, c))
            out += c;
        return static_cast<int>(out.size()) == count;
    }

private:
    const std::string& m_text;
    std::size_t m_position = 0;
    bool m_inComment = false;
};

bool parseHex(const std::string& field, int& value)
{
    unsigned parsed = 0;
    if (std::sscanf(field.c_str(), "%X", &parsed) != 1)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

FontDescription parseFontDescription(const std::string& text)
{
    FontDescription font;
    if (text.empty() || text[0] != 'B') {
        font.error = "no 'B' first";
        return font;
    }
    const std::string rest = text.substr(1);
    DescriptionReader reader(rest);
    std::string field;
    if (!reader.read(4, field) || !parseHex(field, font.cellWidth)) {
        font.error = "no font width";
        return font;
    }
    if (!reader.read(1, field)) {
        font.error = "ends before the image name";
        return font;
    }
    if (field == "C") {
        font.hasSeparatorColour = true;
        for (int part = 0; part < 3; ++part) {
            int colour = 0;
            if (!reader.read(4, field) || !parseHex(field, colour)) {
                font.error = "bad separator colour";
                return font;
            }
        }
    }
    if (!reader.read(1, field) || field != "\"") {
        font.error = "no opening quote";
        return font;
    }
    char c;
    while (true) {
        if (!reader.next(false, c)) {
            font.error = "no closing quote";
            return font;
        }
        if (c == '"')
            break;
        font.imageName += c;
    }
    bool first = true;
    while (font.characters.size() < 1024 && reader.next(first, c)) {
        font.characters += c;
        first = false;
    }
    if (font.characters.empty())
        font.error = "no characters";
    return font;
}

} // namespace mediatest
