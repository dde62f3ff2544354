#include "Utf8.h"

#include <gtest/gtest.h>

#include <string>

TEST(Utf8, ConvertsAndMarksUnpairedSurrogates)
{
    const std::u16string longText(300, u'\u4E2D'); // beyond one conversion buffer
    std::string longUtf8;
    for (std::size_t i = 0; i < longText.size(); ++i)
        longUtf8 += "\xE4\xB8\xAD";
    const struct {
        const char* name;
        std::u16string text;
        std::string utf8;
        bool paired;
    } cases[] = {
        {"empty", u"", "", true},
        {"ASCII", u"Game", "Game", true},
        {"two and three bytes", u"\u00E9\u4E2D", "\xC3\xA9\xE4\xB8\xAD", true},
        {"surrogate pair", u"a\U0001F600b",
         "a\xF0\x9F\x98\x80"
         "b",
         true},
        {"long", longText, longUtf8, true},
        {"high surrogate at the end", std::u16string(u"a") + char16_t(0xD83D), "a\xEF\xBF\xBD", false},
        {"high surrogate before a letter", std::u16string(u"a") + char16_t(0xD83D) + u"b",
         "a\xEF\xBF\xBD"
         "b",
         false},
        {"lone low surrogate", std::u16string(u"a") + char16_t(0xDE00) + u"b",
         "a\xEF\xBF\xBD"
         "b",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "x";
        EXPECT_EQ(wince::appendUtf8(c.text, out), c.paired);
        EXPECT_EQ(out, "x" + c.utf8);
    }
}
