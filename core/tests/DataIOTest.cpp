#include "EngineTest.h"

#include "core/DataIO.h"
#include "core/IOException.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/Vector.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

using core::DataIO;

namespace {

class DataIOTest : public testsupport::EngineTest {};

using Bytes = std::vector<unsigned char>;

std::string ioMessage(const std::function<void()>& action)
{
    return testsupport::messageOf<core::IOException>(action);
}

const std::string kSmall = "IO Name: . Message: Small stream buffer";
const std::string kInvalidFloat = "IO Name: . Message: Invalid floating point number";

} // namespace

// ---- fixed-size reads -------------------------------------------------------------------

TEST_F(DataIOTest, ReadsAreLittleEndianAndAShortBlockMovesNothing)
{
    const Bytes block = {0x01, 0x02, 0x03, 0xFE, 0xFF, 0x06};
    DataIO io(block.data(), 6);
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0xAAAAAAAA;
    io.getStreamData(u8);
    io.getStreamData(u16);
    EXPECT_EQ(u8, 0x01);
    EXPECT_EQ(u16, 0x0302);
    clearLog();
    EXPECT_EQ(ioMessage([&] { io.getStreamData(u32); }), kSmall);
    EXPECT_NE(log().find("IO error (): \"Small stream buffer\""), std::string::npos) << log();
    EXPECT_EQ(u32, 0xAAAAAAAAu) << "a refused read leaves the value";
    EXPECT_EQ(io.data, block.data() + 3);
    EXPECT_EQ(io.bytesLeft, 3);

    std::int16_t s16 = 0;
    io.getStreamData(s16);
    EXPECT_EQ(s16, -2);
    io.getStreamData(u8);
    EXPECT_EQ(ioMessage([&] { io.getStreamData(u8); }), kSmall);
}

TEST_F(DataIOTest, NegativeBytesLeftCountsAsNone)
{
    const Bytes block(8, 0);
    DataIO io(block.data(), 8);
    io.bytesLeft = -1; // an owner that skipped too far
    std::uint32_t word = 0;
    EXPECT_EQ(ioMessage([&] { io.getStreamData(word); }), kSmall);
    EXPECT_EQ(ioMessage([&] { io.setStreamData(word); }), kSmall);
    EXPECT_EQ(ioMessage([&] { DataIO view(io, 0); }), "");
    EXPECT_EQ(ioMessage([&] { DataIO view(io, 1); }), kSmall);
}

TEST_F(DataIOTest, FloatsMustBeFinite)
{
    const struct {
        Bytes bytes;
        float value; // NaN: refused
    } cases[] = {
        {{0x00, 0x00, 0x80, 0x3F}, 1.0f},     {{0xFF, 0xFF, 0x7F, 0x7F}, FLT_MAX},
        {{0xFF, 0xFF, 0x7F, 0xFF}, -FLT_MAX}, {{0x00, 0x00, 0x00, 0x80}, -0.0f},
        {{0x00, 0x00, 0x80, 0x7F}, NAN},      {{0x00, 0x00, 0x80, 0xFF}, NAN}, // both infinities
        {{0x00, 0x00, 0xC0, 0x7F}, NAN},      {{0x01, 0x00, 0x80, 0xFF}, NAN}, // quiet and signalling NaN
    };
    for (const auto& c : cases) {
        DataIO io(c.bytes.data(), 4);
        float value = 42.0f;
        const bool valid = !std::isnan(c.value);
        EXPECT_EQ(ioMessage([&] { io.getStreamData(value); }), valid ? "" : kInvalidFloat);
        EXPECT_EQ(value, valid ? c.value : 42.0f);
        EXPECT_EQ(std::signbit(value), valid && std::signbit(c.value));
        EXPECT_EQ(io.bytesLeft, 0) << "the float check comes after its bytes";
    }
}

// ---- text -------------------------------------------------------------------------------

TEST_F(DataIOTest, TextEndsAtItsZeroByteWithinTheBlock)
{
    const Bytes block = {'a', 'b', 0, 0, 0xE9, 0, 'c'};
    DataIO io(block.data(), 6);
    core::String text("old");
    io.getStreamData(text);
    EXPECT_STREQ(text.c_str(), "ab");
    io.getStreamData(text);
    EXPECT_EQ(text.length(), 0);
    io.getStreamData(text);
    EXPECT_EQ(text.charAt(0), 0xE9) << "bytes widen without sign";
    EXPECT_EQ(io.bytesLeft, 0);
    // The zero byte lies just behind the cursor's block: it must not count.
    DataIO unterminated(block.data(), 2);
    EXPECT_EQ(ioMessage([&] { unterminated.getStreamData(text); }), kSmall);
}

// ---- counted arrays ---------------------------------------------------------------------

TEST_F(DataIOTest, CountedArrays)
{
    const Bytes block = {3,    0, 0, 0, 7, 8,    9,    2,    0,    0, 0, 0x34, 0x12, 0xFF,
                         0xFF, 1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0,    0};
    DataIO io(block.data(), static_cast<int>(block.size()));
    core::Vector<unsigned char> bytes;
    core::Vector<std::uint16_t> shorts;
    core::Vector<std::uint32_t> words;
    io.getStreamData(bytes);
    io.getStreamData(shorts);
    io.getStreamData(words);
    ASSERT_EQ(bytes.m_size + shorts.m_size + words.m_size, 6);
    EXPECT_EQ(bytes[2], 9);
    EXPECT_EQ(shorts[0], 0x1234);
    EXPECT_EQ(shorts[1], 0xFFFF);
    EXPECT_EQ(words[0], 0x12345678u);
    io.getStreamData(words);
    EXPECT_EQ(words.m_size, 0) << "a zero count empties the vector";
    EXPECT_EQ(io.bytesLeft, 0);
}

TEST_F(DataIOTest, CountsBeyondTheBlockFailBeforeAnythingIsSized)
{
    // Each count claims more than the 4 bytes that follow it; the last two
    // wrap to 0 if count x size were taken in 32 bits.
    const struct {
        std::uint32_t count;
        int elementBytes;
    } cases[] = {{5, 1}, {3, 2}, {2, 4}, {0xFFFFFFFF, 1}, {0x80000000, 2}, {0x40000000, 4}};
    for (const auto& c : cases) {
        Bytes block(8, 1);
        DataIO(block.data(), 4).setStreamData(c.count);
        DataIO io(block.data(), 8);
        core::Vector<unsigned char> bytes;
        core::Vector<std::uint16_t> shorts;
        core::Vector<std::uint32_t> words;
        const std::function<void()> reads[] = {[&] { io.getStreamData(bytes); }, [&] { io.getStreamData(shorts); },
                                               [&] { io.getStreamData(words); }};
        const int blocks = mainPool()->getAllocatedBlocks();
        EXPECT_EQ(ioMessage(reads[c.elementBytes / 2]), kSmall) << c.count;
        EXPECT_EQ(io.bytesLeft, 8) << "the count stays unread";
        EXPECT_EQ(mainPool()->getAllocatedBlocks(), blocks) << "nothing was sized";
    }
}

// ---- sub-views --------------------------------------------------------------------------

TEST_F(DataIOTest, SubViewReadsOnlyItsBytesAndMustLieWithinItsParent)
{
    const Bytes block = {0, 1, 2, 3, 4, 5};
    DataIO outer(block.data(), 6);
    outer.name = "outer.m3g";
    std::uint16_t skip = 0;
    outer.getStreamData(skip);
    DataIO view(outer, 3); // the parent has 4 bytes left, the view only 3
    view.getStreamData(skip);
    EXPECT_EQ(skip, 0x0302);
    EXPECT_EQ(ioMessage([&] { view.getStreamData(skip); }), "IO Name: outer.m3g. Message: Small stream buffer");
    EXPECT_EQ(outer.bytesLeft, 4);
    EXPECT_EQ(outer.data, block.data() + 2);
    for (int size : {0, 4, 5, -1, INT32_MIN, INT32_MAX}) {
        const bool valid = size == 0 || size == 4;
        EXPECT_EQ(ioMessage([&] { core::Ref<DataIO> part = VORNIC3D_NEW DataIO(outer, size); }),
                  valid ? "" : "IO Name: outer.m3g. Message: Small stream buffer")
            << size;
    }
}

// ---- writes -----------------------------------------------------------------------------

TEST_F(DataIOTest, WritesAreLittleEndianAndStopBeforeTheEnd)
{
    Bytes block(13, 0xAA);
    DataIO io(block.data(), 12);
    io.setStreamData(static_cast<std::uint8_t>(0x01));
    io.setStreamData(static_cast<std::int16_t>(-2));
    io.setStreamData(0x12345678u);
    io.setStreamData(-0.0f);
    EXPECT_EQ(block, (Bytes{0x01, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0xAA, 0xAA})) << "-0 as +0";
    EXPECT_EQ(ioMessage([&] { io.setStreamData(static_cast<std::uint16_t>(0x1234)); }), kSmall);
    EXPECT_EQ(block[11], 0xAA) << "a refused write writes nothing";
    EXPECT_EQ(io.bytesLeft, 1);
    EXPECT_EQ(ioMessage([&] { io.setStreamData(INFINITY); }), kInvalidFloat);
    EXPECT_EQ(ioMessage([&] { io.setStreamData(NAN); }), kInvalidFloat);
}

// ---- misuse -----------------------------------------------------------------------------

TEST_F(DataIOTest, MisuseFailsCleanly)
{
    DataIO null(nullptr, 4);
    std::uint8_t byte = 0;
    EXPECT_THROW(null.getCurrentPointer(), AssertationFailedException);
    EXPECT_THROW(null.getStreamData(byte), AssertationFailedException);
    // A name too long for one log line still makes the I/O error.
    DataIO empty(reinterpret_cast<const unsigned char*>(""), 0);
    empty.name = std::string(400, 'n').c_str();
    EXPECT_EQ(ioMessage([&] { empty.getStreamData(byte); }),
              "IO Name: " + std::string(400, 'n') + ". Message: Small stream buffer");
}
