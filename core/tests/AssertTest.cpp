#include "EngineTest.h"

#include "core/Assert.h"
#include "core/DebugException.h"
#include "core/MemoryManagerException.h"

#include <string>

namespace {

class AssertTest : public testsupport::EngineTest {};

void checkWithText(bool ok)
{
    VORNIC3D_ASSERT(ok, "probe: value out of range");
}

struct Probe {
    static void bare(bool ok) { VORNIC3D_CHECK(ok); }
};

template <std::size_t N>
std::string nameOf(const char (&pretty)[N])
{
    return core::detail::qualifiedFunctionName(pretty).text;
}

} // namespace

TEST_F(AssertTest, CheckWithTextLogsOnceAndCarriesItsPlace)
{
    try {
        checkWithText(false);
        FAIL() << "no exception";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.message, "probe: value out of range");
        EXPECT_STREQ(e.function, "{anonymous}::checkWithText");
        EXPECT_NE(std::string(e.sourceFile).find("AssertTest.cpp"), std::string::npos);
        EXPECT_GT(e.line, 0);
    }
    EXPECT_EQ(log(), " ERROR  |000001| probe: value out of range");
    clearLog();
    checkWithText(true);
    EXPECT_EQ(log(), "");
}

TEST_F(AssertTest, BareCheckLogsNothing)
{
    try {
        Probe::bare(false);
        FAIL() << "no exception";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.message, "Vornic3D exception");
        EXPECT_STREQ(e.function, "{anonymous}::Probe::bare");
    }
    EXPECT_EQ(log(), "");
}

TEST(Exceptions, TypedExceptionsCarryAnEmptySourceRecord)
{
    const Vornic3DException cases[] = {core::DebugException("d"), core::MemoryManagerException("m")};
    for (const Vornic3DException& e : cases) {
        EXPECT_STREQ(e.sourceFile, "");
        EXPECT_STREQ(e.function, "");
        EXPECT_EQ(e.line, 0);
    }
    try {
        throw core::MemoryManagerException("MemoryManager: memory full");
    } catch (const Vornic3DException& e) {
        EXPECT_STREQ(e.message, "MemoryManager: memory full");
    }
}

TEST(FunctionName, QualifiedNamesAreCutOutOfDecoratedSignatures)
{
    EXPECT_EQ(nameOf("static void core::Debug::printf(int, const char*, ...)"), "core::Debug::printf");
    EXPECT_EQ(nameOf("core::MemoryManager::MemoryManager(int, const char*, const core::MemoryManagerConfig*)"),
              "core::MemoryManager::MemoryManager");
    EXPECT_EQ(nameOf("core::MemoryManager::~MemoryManager()"), "core::MemoryManager::~MemoryManager");
    EXPECT_EQ(nameOf("T* core::Ref<T>::operator->() const [with T = game::Player]"), "core::Ref<T>::operator->");
    EXPECT_EQ(nameOf("static void* core::Object::operator new(std::size_t, const char*, int)"),
              "core::Object::operator new");
    EXPECT_EQ(nameOf("void core::Vector<T, A>::pushBack(const T&) [with T = int; A = core::Allocator<int>]"),
              "core::Vector<T, A>::pushBack");
    EXPECT_EQ(nameOf("int main()"), "main");
    EXPECT_EQ(nameOf("float &slmath::vec3::operator[](int)"), "slmath::vec3::operator[]");
}
