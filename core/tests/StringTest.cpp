#include "EngineTest.h"
#include "PoolFiller.h"

#include "core/String.h"

#include <vector>

using core::String;
using testsupport::messageOf;
using Units = std::vector<unsigned short>;

namespace {

using IndexError = String::StringIndexOutOfBoundsException;
using CharsetError = String::UnsupportedCharacterSetException;

class StringTest : public testsupport::EngineTest {};

// True when `action` throws a pointer to E (deleted here: the thrower hands it over).
template <typename E>
bool throwsPointer(const std::function<void()>& action)
{
    try {
        action();
    } catch (E* e) {
        delete e;
        return true;
    }
    return false;
}

// The record's units, mark and terminator included.
Units unitsOf(const String& s)
{
    Units units(static_cast<std::size_t>(s.length()) + 2, 0xAAAA);
    s.getData(units.data(), static_cast<int>(units.size() * 2));
    return units;
}

std::u16string textOf(const String& s)
{
    std::u16string text;
    for (int i = 0; i < s.length(); ++i)
        text += static_cast<char16_t>(s.charAt(i));
    return text;
}

String fromBytes(const std::vector<unsigned char>& bytes)
{
    String s("");
    s.setData(bytes.data(), static_cast<int>(bytes.size()));
    return s;
}

// With the mark, so that a single character makes more than 4 bytes; "" stays 8-bit.
String fromUnits(const std::u16string& text)
{
    const std::u16string marked = u"\uFEFF" + text;
    String s("");
    if (!text.empty())
        s.setData(reinterpret_cast<const unsigned short*>(marked.c_str()));
    return s;
}

} // namespace

// ---- records ------------------------------------------------------------------------

TEST_F(StringTest, RecordsHoldMarkUnitsAndTerminatorAndAreSharedByCopies)
{
    EXPECT_EQ(unitsOf(String("")), (Units{0xFEFF, 0}));
    EXPECT_EQ(unitsOf(String("\xE9\x80")), (Units{0xFEFF, 0xE9, 0x80, 0})) << "bytes widen without sign";
    EXPECT_EQ(String("abc").getDataSize(), 10);
    {
        String a("shared");
        String b(a);
        String c("other");
        c = b;
        const String& itself = c; // through a reference, as self-assignment usually comes
        c = itself;
        EXPECT_EQ(stringPool()->getAllocatedBlocks(), 1);
    }
    EXPECT_EQ(stringPool()->getAllocatedBlocks(), 0);
}

// ---- reading --------------------------------------------------------------------------

TEST_F(StringTest, ReadingStaysWithinTheText)
{
    String s("abcab");
    EXPECT_EQ(s.indexOf('b', 2), 4);
    EXPECT_EQ(s.indexOf('c', 3), -1);
    EXPECT_EQ(s.lastIndexOf('a'), 3);
    EXPECT_EQ(s.lastIndexOf('c', 1), -1);
    for (int from : {-1, 5}) {
        EXPECT_THROW(s.indexOf('a', from), AssertationFailedException) << from;
        EXPECT_THROW(s.lastIndexOf('a', from), AssertationFailedException) << from;
    }
    EXPECT_THROW(s.getData(Units(8).data(), 16, -1), AssertationFailedException);
    EXPECT_THROW(s.getData(Units(8).data(), 16, 6), AssertationFailedException);
    EXPECT_THROW(String("").indexOf('a'), AssertationFailedException);
    EXPECT_THROW(String("").lastIndexOf('a'), AssertationFailedException);
    for (int index : {-1, 0, 4, 5, INT32_MIN, INT32_MAX}) {
        const bool valid = index == 0 || index == 4;
        EXPECT_EQ(!throwsPointer<IndexError>([&] { s.charAt(index); }), valid) << index;
        EXPECT_EQ(!throwsPointer<IndexError>([&] { s.setCharAt('x', index); }), valid) << index;
    }
    EXPECT_STREQ(s.c_str(), "xbcax");
}

TEST_F(StringTest, CopiesOutStopAtTheBufferEnd)
{
    const String s("abcd");
    Units buffer(4, 0xAAAA);
    s.getData(buffer.data(), 7, 1); // half a unit of room left: no terminator
    EXPECT_EQ(buffer, (Units{0xFEFF, 'b', 'c', 0xAAAA}));
    s.getData(buffer.data(), 8, 4);
    EXPECT_EQ(buffer, (Units{0xFEFF, 0, 'c', 0xAAAA}));
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { s.getData(buffer.data(), 2); }), "Too small buffer");
    char ascii[4] = {'#', '#', '#', '#'};
    const String wide = fromUnits(u"A\u0141z");
    EXPECT_TRUE(throwsPointer<IndexError>([&] { wide.toASCII(ascii, 3); }));
    EXPECT_EQ(ascii[0], '#') << "a refused copy writes nothing";
    wide.toASCII(ascii, 4);
    EXPECT_STREQ(ascii, "AAz") << "the low byte of each character";
}

// ---- new strings ----------------------------------------------------------------------

TEST_F(StringTest, NewStringsLeaveTheirSourceUnchanged)
{
    const String s("ab\\");
    const struct {
        int begin, end;
        const char* expected; // null: the engine assertion
    } cases[] = {{0, 1, "ab"}, {2, 2, "\\"}, {0, 2, "ab\\"}, {2, 1, nullptr}, {0, 3, nullptr}, {-1, 1, nullptr}};
    for (const auto& c : cases) {
        if (c.expected == nullptr)
            EXPECT_THROW(s.substring(c.begin, c.end), AssertationFailedException) << c.begin << ".." << c.end;
        else
            EXPECT_EQ(unitsOf(s.substring(c.begin, c.end)), unitsOf(String(c.expected)));
    }
    EXPECT_STREQ(s.substring(1).c_str(), "b\\");
    EXPECT_THROW(s.substring(3), AssertationFailedException);
    EXPECT_STREQ((s + s + "!").c_str(), "ab\\ab\\!");
    EXPECT_STREQ(s.replace('\\', '/').c_str(), "ab/");
    EXPECT_STREQ(s.c_str(), "ab\\");
    EXPECT_THROW(String("").replace('a', 'b'), AssertationFailedException);
    // Copied up to the first zero unit: a U+0000 inside the range ends the
    // new text, and one that leaves no character is refused as too short.
    const String withZero = fromBytes({0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0, 0, 0});
    EXPECT_EQ(textOf(withZero.substring(0, 2)), u"a");
    EXPECT_TRUE(throwsPointer<String::UnsupportedCharacterSetException>([&] { withZero.substring(1); }));
    EXPECT_EQ(textOf(withZero), std::u16string(u"a\0b", 3));
}

// ---- changes ----------------------------------------------------------------------------

TEST_F(StringTest, InPlaceChangesReachEverySharer)
{
    String a("ab");
    String b(a);
    const char* before = b.c_str();
    a += "c";
    a += 'd';
    EXPECT_EQ(textOf(b), u"abcd");
    EXPECT_STREQ(a.c_str(), "abcd");
    EXPECT_EQ(b.c_str(), before) << "a sharer's 8-bit copy made before the change stays";
    EXPECT_STREQ(before, "ab");

    a.setCharAt('X', 0);
    EXPECT_EQ(textOf(b), u"Xbcd");
    EXPECT_STREQ(a.c_str(), "Xbcd") << "the changed string's own copy follows";

    a = "new"; // a new record: the sharer keeps the old text
    EXPECT_EQ(textOf(b), u"Xbcd");
    EXPECT_THROW(a += a, AssertationFailedException);
    EXPECT_THROW(b += String(b), AssertationFailedException);
    EXPECT_STREQ(a.c_str(), "new");
}

TEST_F(StringTest, OwnEightBitCopyIsASafeSource)
{
    String s("abc");
    s = s.c_str();
    EXPECT_STREQ(s.c_str(), "abc");
    s += s.c_str();
    EXPECT_STREQ(s.c_str(), "abcabc");
    s.format("%s!", s.c_str());
    EXPECT_STREQ(s.c_str(), "abcabc!");
}

TEST_F(StringTest, FormatFitsFourCharactersPerFormatCharacter)
{
    String s("old");
    const int tableBlocks = mainPool()->getAllocatedBlocks();
    s.format("%s", "12345678"); // exactly 4 x 2
    EXPECT_STREQ(s.c_str(), "12345678");
    EXPECT_THROW(s.format("%s", "123456789"), AssertationFailedException);
    EXPECT_THROW(s.format("%s", ""), AssertationFailedException);
    EXPECT_STREQ(s.c_str(), "12345678") << "a refused result keeps the text";
    EXPECT_EQ(mainPool()->getAllocatedBlocks(), tableBlocks) << "the work buffer goes back";
}

TEST_F(StringTest, RefusedChangesKeepTheOldText)
{
    String s("old");
    const unsigned char shortData[] = {0xFF, 0xFE, 0x41, 0x00};
    const unsigned char bigEndian[] = {0xFE, 0xFF, 0x00, 0x41, 0x00, 0x00};
    const unsigned short oneUnmarked[] = {'A', 0};
    EXPECT_TRUE(throwsPointer<CharsetError>([&] { s.setData(shortData, 4); }));
    EXPECT_TRUE(throwsPointer<CharsetError>([&] { s.setData(oneUnmarked); }));
    EXPECT_EQ(messageOf<AssertationFailedException>([&] { s.setData(bigEndian, 6); }), "No implementation");
    const std::function<void()> nullArguments[] = {
        [&] { s = static_cast<const char*>(nullptr); },
        [&] { s.setData(static_cast<const unsigned char*>(nullptr), 6); },
        [&] { s.setData(static_cast<const unsigned short*>(nullptr)); },
        [&] { s.toASCII(nullptr, 4); },
        [&] { s.getData(nullptr, 16); },
        [&] { s.format(nullptr); },
    };
    for (const auto& call : nullArguments)
        EXPECT_THROW(call(), AssertationFailedException);
    const String tail("more text");
    {
        testsupport::PoolFiller full(stringPool());
        EXPECT_THROW(s = "replacement", core::MemoryManagerException);
        EXPECT_THROW(s += tail, core::MemoryManagerException);
        EXPECT_THROW(String("x"), core::MemoryManagerException);
    }
    EXPECT_STREQ(s.c_str(), "old");
}

TEST_F(StringTest, FormattingAndConcatenationFailCleanlyAtEveryAllocation)
{
    const String name("player");
    const auto counts = sweepAllocationFailures([&] {
        String line("");
        line.format("%s: %d stars in %d.%02d s", name.c_str(), 12, 3, 5);
        String joined = line + " / " + name;
        joined += '!';
        joined += line;
        const String swapped = joined.substring(0, 8).replace('a', 'o');
        EXPECT_STREQ(swapped.c_str(), "ployer: 1");
        EXPECT_EQ(joined.length(), 2 * line.length() + 10);
    });
    EXPECT_GT(counts.mainPool, 0) << counts;
    EXPECT_GT(counts.stringPool, 0) << counts;
}

// ---- raw data -------------------------------------------------------------------------

TEST_F(StringTest, SetDataTakesLittleEndianBytesWithOrWithoutAMark)
{
    const struct {
        std::vector<unsigned char> bytes;
        std::u16string text;
    } cases[] = {
        {{0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00}, u"A"},
        {{0x41, 0x00, 0x42, 0x00, 0x00, 0x00}, u"AB"},
        {{0xFF, 0xFE, 0x00, 0x4E, 0x00, 0x00}, u"\u4E00"},
        // No terminator, odd byte counts: the text ends where its units end.
        {{0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}, u"A"},
        {{0xFF, 0xFE, 0x41, 0x00, 0x42}, u""},
        {{0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00, 0x43}, u"A"},
        {{0x41, 0x00, 0x42, 0x00, 0x43}, u"A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textOf(fromBytes(c.bytes)), c.text) << c.bytes.size();
}

TEST_F(StringTest, RecordWithoutTerminatorIsReadOnlyWithinItsLength)
{
    String s = fromBytes({0xFF, 0xFE, 'A', 0, 'B', 0});
    EXPECT_STREQ(s.c_str(), "A");
    EXPECT_EQ(s.indexOf('B'), -1);
    EXPECT_EQ(s.lastIndexOf('B'), -1);
    EXPECT_EQ(s.compareTo(String("A")), 0);
    EXPECT_EQ(String("A").compareTo(s), 0);
    EXPECT_STREQ((s + "c").c_str(), "Ac");
    s += "c";
    EXPECT_EQ(unitsOf(s), (Units{0xFEFF, 'A', 'c', 0}));
    String odd = fromBytes({0xFF, 0xFE, 'A', 0, 'B'});
    odd += "xy";
    EXPECT_EQ(unitsOf(odd), (Units{0xFEFF, 'x', 'y', 0}));
}

// ---- comparison -----------------------------------------------------------

TEST_F(StringTest, CompareToOrdersByUnits)
{
    const struct {
        std::u16string left, right;
        int expected;
    } cases[] = {
        {u"abc", u"abd", -1},       {u"abc", u"ab", 1},           {u"abc", u"abc", 0},       {u"", u"a", -1},
        {u"\u00E9", u"z", 1}, // 8-bit, compared unsigned
        {u"\u0100", u"a", 1}, // beyond 8 bits: no cross-check failure
        {u"\u4E00", u"\u4E01", -1}, {u"a\u0101", u"a\u0201", -1}, {u"\u0141", u"\u0141", 0}, {u"A\u0141", u"A", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromUnits(c.left).compareTo(fromUnits(c.right)), c.expected);
        EXPECT_EQ(fromUnits(c.right).compareTo(fromUnits(c.left)), -c.expected);
    }

    // A zero unit inside a text ends it, as the terminator does.
    const String withZero = fromBytes({0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0, 0, 0});
    const struct {
        String other;
        int expected;
    } zeroCases[] = {
        {fromBytes({0xFF, 0xFE, 'a', 0, 0, 0, 'c', 0, 0, 0}), 0},
        {String("a"), 0},
        {String("ab"), -1},
        {String("b"), -1},
    };
    for (const auto& c : zeroCases) {
        SCOPED_TRACE(c.other.c_str());
        EXPECT_EQ(withZero.compareTo(c.other), c.expected);
        EXPECT_EQ(c.other.compareTo(withZero), -c.expected);
    }
}
