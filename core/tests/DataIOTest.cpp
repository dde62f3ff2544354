#include "EngineTest.h"

#include "core/AssertationFailedException.h"
#include "core/DataIO.h"
#include "core/IOException.h"
#include "core/MemoryManager.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/Vector.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using core::DataIO;

namespace {

class DataIOTest : public testsupport::EngineTest {};

using Bytes = std::vector<unsigned char>;

// The IOException's text, or a marker when none was thrown.
std::string ioMessage(const std::function<void()>& action)
{
    try {
        action();
    } catch (const core::IOException& e) {
        return e.message;
    }
    return "<no exception>";
}

const std::string kSmall = "IO Name: . Message: Small stream buffer";
const std::string kInvalidFloat = "IO Name: . Message: Invalid floating point number";

std::size_t position(const DataIO& io, const Bytes& block)
{
    return static_cast<std::size_t>(io.data - block.data());
}

} // namespace

// ---- fixed-size reads -------------------------------------------------------------------

TEST_F(DataIOTest, ReadsAreLittleEndianAndStopBeforeTheEnd)
{
    const Bytes block = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    DataIO io(block.data(), static_cast<int>(block.size()));
    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::uint32_t u32 = 0xAAAAAAAA;
    io.getStreamData(u8);
    EXPECT_EQ(u8, 0x01);
    io.getStreamData(u16);
    EXPECT_EQ(u16, 0x0302);

    clearLog();
    EXPECT_EQ(ioMessage([&] { io.getStreamData(u32); }), kSmall);
    EXPECT_NE(log().find("IO error (): \"Small stream buffer\""), std::string::npos) << log();
    EXPECT_EQ(u32, 0xAAAAAAAAu) << "a refused read leaves the value";
    EXPECT_EQ(position(io, block), 3u);
    EXPECT_EQ(io.bytesLeft, 3);

    std::int16_t s16 = 0;
    io.getStreamData(s16);
    EXPECT_EQ(s16, 0x0504);
    io.getStreamData(u8);
    EXPECT_EQ(io.bytesLeft, 0);
    core::String text("");
    EXPECT_EQ(ioMessage([&] { io.getStreamData(u8); }), kSmall);
    EXPECT_EQ(ioMessage([&] { io.getStreamData(text); }), kSmall);
}

TEST_F(DataIOTest, SignedValuesAreTwosComplement)
{
    const Bytes block = {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF};
    DataIO io(block.data(), static_cast<int>(block.size()));
    std::int16_t s16 = 0;
    std::int32_t s32 = 0;
    io.getStreamData(s16);
    io.getStreamData(s32);
    EXPECT_EQ(s16, -1);
    EXPECT_EQ(s32, -2);
}

TEST_F(DataIOTest, NegativeBytesLeftCountsAsNone)
{
    const Bytes block(8, 0);
    DataIO io(block.data(), 8);
    io.bytesLeft = -1; // an owner that skipped too far
    std::uint8_t byte = 0;
    std::uint32_t word = 0;
    EXPECT_EQ(ioMessage([&] { io.getStreamData(byte); }), kSmall);
    EXPECT_EQ(ioMessage([&] { io.getStreamData(word); }), kSmall);
    EXPECT_EQ(ioMessage([&] { io.setStreamData(word); }), kSmall);
    EXPECT_EQ(ioMessage([&] { DataIO view(io, 0); }), "<no exception>");
    EXPECT_EQ(ioMessage([&] { DataIO view(io, 1); }), kSmall);
}

TEST_F(DataIOTest, FloatsMustBeFinite)
{
    const struct {
        Bytes bytes;
        bool valid;
        float value;
    } cases[] = {
        {{0x00, 0x00, 0x80, 0x3F}, true, 1.0f},
        {{0xFF, 0xFF, 0x7F, 0x7F}, true, FLT_MAX},
        {{0xFF, 0xFF, 0x7F, 0xFF}, true, -FLT_MAX},
        {{0x00, 0x00, 0x00, 0x80}, true, -0.0f},
        {{0x00, 0x00, 0x80, 0x7F}, false, 0},  // +infinity
        {{0x00, 0x00, 0x80, 0xFF}, false, 0},  // -infinity
        {{0x00, 0x00, 0xC0, 0x7F}, false, 0},  // quiet NaN
        {{0x01, 0x00, 0x80, 0xFF}, false, 0},  // signalling NaN
    };
    for (const auto& c : cases) {
        DataIO io(c.bytes.data(), 4);
        float value = 42.0f;
        const std::string message = ioMessage([&] { io.getStreamData(value); });
        if (c.valid) {
            EXPECT_EQ(message, "<no exception>");
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(std::signbit(value), std::signbit(c.value));
        } else {
            EXPECT_EQ(message, kInvalidFloat);
            EXPECT_EQ(value, 42.0f);
        }
        EXPECT_EQ(io.bytesLeft, 0) << "the float check comes after its bytes";
    }
}

// ---- text -------------------------------------------------------------------------------

TEST_F(DataIOTest, TextEndsAtItsZeroByte)
{
    const Bytes block = {'a', 'b', 0, 0, 0xE9, 0};
    DataIO io(block.data(), static_cast<int>(block.size()));
    core::String text("old");
    io.getStreamData(text);
    EXPECT_STREQ(text.c_str(), "ab");
    EXPECT_EQ(position(io, block), 3u);
    io.getStreamData(text);
    EXPECT_EQ(text.length(), 0);
    io.getStreamData(text);
    EXPECT_EQ(text.charAt(0), 0xE9) << "bytes widen without sign";
    EXPECT_EQ(io.bytesLeft, 0);
}

TEST_F(DataIOTest, UnterminatedTextFailsWithoutMoving)
{
    // The zero byte lies just behind the cursor's block: it must not count.
    const Bytes block = {'a', 'b', 'c', 0};
    DataIO io(block.data(), 3);
    core::String text("old");
    EXPECT_EQ(ioMessage([&] { io.getStreamData(text); }), kSmall);
    EXPECT_STREQ(text.c_str(), "old");
    EXPECT_EQ(io.bytesLeft, 3);
    EXPECT_EQ(position(io, block), 0u);
}

// ---- counted arrays ---------------------------------------------------------------------

TEST_F(DataIOTest, CountedArrays)
{
    const Bytes block = {3, 0, 0, 0, 7, 8, 9, 2, 0, 0, 0, 0x34, 0x12, 0xFF, 0xFF,
                         1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};
    DataIO io(block.data(), static_cast<int>(block.size()));
    core::Vector<unsigned char> bytes;
    core::Vector<std::uint16_t> shorts;
    core::Vector<std::uint32_t> words;
    io.getStreamData(bytes);
    io.getStreamData(shorts);
    io.getStreamData(words);
    ASSERT_EQ(bytes.m_size, 3);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes[2], 9);
    ASSERT_EQ(shorts.m_size, 2);
    EXPECT_EQ(shorts[0], 0x1234);
    EXPECT_EQ(shorts[1], 0xFFFF);
    ASSERT_EQ(words.m_size, 1);
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
        Bytes block = {static_cast<unsigned char>(c.count), static_cast<unsigned char>(c.count >> 8),
                       static_cast<unsigned char>(c.count >> 16), static_cast<unsigned char>(c.count >> 24), 1, 2,
                       3, 4};
        DataIO io(block.data(), static_cast<int>(block.size()));
        core::Vector<unsigned char> bytes;
        core::Vector<std::uint16_t> shorts;
        core::Vector<std::uint32_t> words;
        const std::function<void()> reads[] = {[&] { io.getStreamData(bytes); }, [&] { io.getStreamData(shorts); },
                                               [&] { io.getStreamData(words); }};
        const int index = c.elementBytes == 1 ? 0 : (c.elementBytes == 2 ? 1 : 2);
        const int blocks = mainPool()->getAllocatedBlocks();
        EXPECT_EQ(ioMessage(reads[index]), kSmall) << c.count;
        EXPECT_EQ(io.bytesLeft, 8) << "the count stays unread";
        EXPECT_EQ(mainPool()->getAllocatedBlocks(), blocks) << "nothing was sized";
    }
}

// ---- sub-views --------------------------------------------------------------------------

TEST_F(DataIOTest, SubViewReadsOnlyItsBytes)
{
    Bytes block(100);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<unsigned char>(i);
    DataIO outer(block.data(), 100);
    outer.name = "outer.m3g";
    std::uint16_t skip = 0;
    outer.getStreamData(skip);

    DataIO view(outer, 10);
    EXPECT_STREQ(view.name.c_str(), "outer.m3g");
    EXPECT_EQ(view.getCurrentPointer(), block.data() + 2);
    std::uint8_t byte = 0;
    for (int i = 0; i < 10; ++i)
        view.getStreamData(byte);
    EXPECT_EQ(byte, 11);
    EXPECT_EQ(ioMessage([&] { view.getStreamData(byte); }), "IO Name: outer.m3g. Message: Small stream buffer");
    EXPECT_EQ(outer.bytesLeft, 98);
    EXPECT_EQ(position(outer, block), 2u);
}

TEST_F(DataIOTest, SubViewMustLieWithinItsParent)
{
    const Bytes block(20);
    DataIO outer(block.data(), 20);
    const struct {
        int size;
        bool valid;
    } cases[] = {{0, true}, {20, true}, {21, false}, {-1, false}, {INT32_MIN, false}, {INT32_MAX, false}};
    for (const auto& c : cases) {
        const std::string message = ioMessage([&] {
            core::Ref<DataIO> view = VORNIC3D_NEW DataIO(outer, c.size);
            EXPECT_EQ(view->bytesLeft, c.size);
        });
        EXPECT_EQ(message, c.valid ? "<no exception>" : kSmall) << c.size;
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
    EXPECT_EQ(block[12], 0xAA);
    EXPECT_EQ(io.bytesLeft, 1);

    EXPECT_EQ(ioMessage([&] { io.setStreamData(INFINITY); }), kInvalidFloat);
    EXPECT_EQ(ioMessage([&] { io.setStreamData(NAN); }), kInvalidFloat);
}

// ---- misuse -----------------------------------------------------------------------------

TEST_F(DataIOTest, NullPositionFailsTheAssertion)
{
    DataIO io(nullptr, 4);
    const struct {
        std::function<void()> action;
        const char* function;
    } cases[] = {
        {[&] { io.getCurrentPointer(); }, "core::DataIO::getCurrentPointer"},
        {[&] { std::uint8_t v; io.getStreamData(v); }, "core::DataIO::getStreamData"},
        {[&] { core::String v(""); io.getStreamData(v); }, "core::DataIO::getStreamData"},
        {[&] { core::Vector<std::uint32_t> v; io.getStreamData(v); }, "core::DataIO::getStreamData"},
    };
    for (const auto& c : cases) {
        try {
            c.action();
            ADD_FAILURE() << c.function;
        } catch (const AssertationFailedException& e) {
            EXPECT_STREQ(e.message, "Vornic3D exception");
            EXPECT_STREQ(e.function, c.function);
        }
    }
}

TEST_F(DataIOTest, NameTooLongForTheLogStillThrowsTheIOException)
{
    const Bytes block(1);
    DataIO io(block.data(), 0);
    io.name = std::string(400, 'n').c_str();
    std::uint8_t byte = 0;
    EXPECT_EQ(ioMessage([&] { io.getStreamData(byte); }),
              "IO Name: " + std::string(400, 'n') + ". Message: Small stream buffer");
}
