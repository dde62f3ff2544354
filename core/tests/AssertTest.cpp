#include "EngineTest.h"

#include "core/Assert.h"

namespace {

class AssertTest : public testsupport::EngineTest {};

// The text holds conversions: it must be logged as data, never as a format.
void checkWithText(bool ok)
{
    VORNIC3D_ASSERT(ok, "probe: 100% %s %n out of range");
}

void bareCheck(bool ok)
{
    VORNIC3D_CHECK(ok);
}

template <std::size_t N>
std::string nameOf(const char (&pretty)[N])
{
    return core::detail::qualifiedFunctionName(pretty).text;
}

} // namespace

TEST_F(AssertTest, CheckWithTextLogsItOnceAsDataAndCarriesItsPlace)
{
    try {
        checkWithText(false);
        FAIL() << "no exception";
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.message, "probe: 100% %s %n out of range");
        EXPECT_STREQ(e.function, "{anonymous}::checkWithText");
        EXPECT_NE(std::string(e.sourceFile).find("AssertTest.cpp"), std::string::npos);
    }
    EXPECT_EQ(log(), " ERROR  |000001| probe: 100% %s %n out of range");
}

TEST_F(AssertTest, BareCheckLogsNothing)
{
    EXPECT_EQ(testsupport::messageOf<AssertationFailedException>([] { bareCheck(false); }), "Vornic3D exception");
    EXPECT_EQ(log(), "");
}

TEST(FunctionName, QualifiedNamesAreCutOutOfDecoratedSignatures)
{
    EXPECT_EQ(nameOf("static void core::Debug::printf(int, const char*, ...)"), "core::Debug::printf");
    EXPECT_EQ(nameOf("core::MemoryManager::~MemoryManager()"), "core::MemoryManager::~MemoryManager");
    EXPECT_EQ(nameOf("T* core::Ref<T>::operator->() const [with T = game::Player]"), "core::Ref<T>::operator->");
    EXPECT_EQ(nameOf("static void* core::Object::operator new(std::size_t, const char*, int)"),
              "core::Object::operator new");
    EXPECT_EQ(nameOf("void core::Vector<T, A>::pushBack(const T&) [with T = int; A = core::Allocator<int>]"),
              "core::Vector<T, A>::pushBack");
    EXPECT_EQ(nameOf("int main()"), "main");
    EXPECT_EQ(nameOf("float &slmath::vec3::operator[](int)"), "slmath::vec3::operator[]");
}
