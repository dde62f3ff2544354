#include "wince/Metrics.h"
#include "wince/Module.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets VORNIC3D_SCREEN for one scope and puts the old value back.
class ScreenVariable {
public:
    explicit ScreenVariable(const char* value)
    {
        if (const char* old = std::getenv("VORNIC3D_SCREEN"))
            m_old = old;
        if (value != nullptr)
            setenv("VORNIC3D_SCREEN", value, 1);
        else
            unsetenv("VORNIC3D_SCREEN");
    }
    ~ScreenVariable()
    {
        if (m_old)
            setenv("VORNIC3D_SCREEN", m_old->c_str(), 1);
        else
            unsetenv("VORNIC3D_SCREEN");
    }

private:
    std::optional<std::string> m_old;
};

std::string linkTarget()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

std::string narrowed(const WCHAR* text, DWORD length)
{
    std::string bytes;
    for (DWORD i = 0; i < length; ++i)
        bytes += static_cast<char>(text[i]);
    return bytes;
}

} // namespace

// ---- screen metrics ----

TEST(Metrics, VirtualScreenFromEnvironmentOrPhoneDefault)
{
    struct Case {
        const char* value;
        int width;
        int height;
    };
    const Case cases[] = {
        {nullptr, 240, 400},     {"480x800", 480, 800},   {"320X240", 320, 240},
        {"1x1", 1, 1},           {"32767x32767", 32767, 32767},
        {"", 240, 400},          {"480", 240, 400},       {"480x", 240, 400},
        {"x800", 240, 400},      {"0x800", 240, 400},     {"480x0", 240, 400},
        {"-480x800", 240, 400},  {"480x-800", 240, 400},  {"480x800 ", 240, 400},
        {" 480x800", 240, 400},  {"480*800", 240, 400},   {"32768x100", 240, 400},
        {"99999999999999999999x5", 240, 400},             {"480x800x2", 240, 400},
        {"4a0x800", 240, 400},
    };
    for (const Case& c : cases) {
        ScreenVariable variable(c.value);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height) << (c.value ? c.value : "(unset)");
    }
}

// ---- module ----

TEST(Module, FileNameIsTheExecutablesBytesWidened)
{
    const std::string expected = linkTarget();
    ASSERT_FALSE(expected.empty());
    WCHAR buffer[4096];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 4096);
    ASSERT_EQ(length, expected.size());
    EXPECT_EQ(buffer[length], 0);
    EXPECT_EQ(narrowed(buffer, length), expected);
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 4096), length);
}

TEST(Module, TruncatesToTheBufferAndTerminates)
{
    const std::string expected = linkTarget();
    const DWORD full = static_cast<DWORD>(expected.size());
    struct Case {
        DWORD size;
        DWORD result;
        DWORD copied;
    };
    const Case cases[] = {
        {full + 1, full, full}, {full, full, full - 1}, {5, 5, 4}, {1, 1, 0},
    };
    for (const Case& c : cases) {
        std::u16string buffer(full + 8, u'#');
        EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), c.size), c.result) << c.size;
        EXPECT_EQ(buffer[c.copied], 0) << c.size;
        EXPECT_EQ(buffer.find_first_not_of(u'#', c.copied + 1), std::u16string::npos) << c.size;
        EXPECT_EQ(narrowed(buffer.data(), c.copied), expected.substr(0, c.copied)) << c.size;
    }
}

TEST(Module, RefusesAnEmptyBufferAndOtherModules)
{
    WCHAR buffer[16] = {u'#'};
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, 16), 0u);
    EXPECT_EQ(GetModuleHandleW(u"coredll.dll"), nullptr);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(buffer), buffer, 16), 0u);
}
