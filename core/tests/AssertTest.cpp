#include "EngineTest.h"

#include "core/Assert.h"

namespace {

class AssertTest : public testsupport::EngineTest {};

// The text holds conversions: it must be logged as data, never as a format.
void checkWithText(bool ok)
{
    VORNIC3D_ASSERT(ok, "probe: 100% %s %n out of range");
}

void checkWithEndedText(bool ok)
{
    VORNIC3D_ASSERT(ok, "probe with its own line end\n");
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
    // Ended, so the next line of the log starts on a line of its own; a text
    // that ends its line itself gets no second end.
    EXPECT_NO_THROW(checkWithEndedText(true));
    EXPECT_THROW(checkWithEndedText(false), AssertationFailedException);
    EXPECT_EQ(log(), " ERROR  |000001| probe: 100% %s %n out of range\n"
                     " ERROR  |000002| probe with its own line end\n");
}

TEST_F(AssertTest, BareCheckLogsNothing)
{
    EXPECT_EQ(testsupport::messageOf<AssertationFailedException>([] { bareCheck(false); }), "Vornic3D exception");
    EXPECT_EQ(log(), "");
}

// Each compiler's own spelling; a name in an anonymous namespace reads the
// same from both.
TEST(FunctionName, QualifiedNamesAreCutOutOfEitherCompilersSignatures)
{
    const struct {
        std::string name;
        const char* expected;
    } cases[] = {
        {nameOf("static void core::Debug::printf(int, const char*, ...)"), "core::Debug::printf"},
        {nameOf("core::MemoryManager::~MemoryManager()"), "core::MemoryManager::~MemoryManager"},
        {nameOf("T* core::Ref<T>::operator->() const [with T = game::Player]"), "core::Ref<T>::operator->"},
        {nameOf("static void* core::Object::operator new(std::size_t, const char*, int)"),
         "core::Object::operator new"},
        {nameOf("void core::Vector<T, A>::pushBack(const T&) [with T = int; A = core::Allocator<int>]"),
         "core::Vector<T, A>::pushBack"},
        {nameOf("int main()"), "main"},
        {nameOf("float& slmath::vec3::operator[](int)"), "slmath::vec3::operator[]"},
        {nameOf("void {anonymous}::checkWithText(bool)"), "{anonymous}::checkWithText"},
        // clang
        {nameOf("float &slmath::vec3::operator[](int)"), "slmath::vec3::operator[]"},
        {nameOf("void (anonymous namespace)::checkWithText(bool)"), "{anonymous}::checkWithText"},
        {nameOf("core::(anonymous namespace)::Probe::~Probe()"), "core::{anonymous}::Probe::~Probe"},
        {nameOf("static void *(anonymous namespace)::Probe::operator new(std::size_t, const char *, int)"),
         "{anonymous}::Probe::operator new"},
        {nameOf("T *core::Ref<(anonymous namespace)::Probe>::operator->() const [T = (anonymous namespace)::Probe]"),
         "core::Ref<{anonymous}::Probe>::operator->"},
        {nameOf("void core::Vector<int, void (*)(int)>::pushBack(const T &) [T = int, A = void (*)(int)]"),
         "core::Vector<int, void (*)(int)>::pushBack"},
        {nameOf("void core::call(F) [F = (lambda at Probe.cpp:26:13)]"), "core::call"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.name, c.expected);
    }
}
