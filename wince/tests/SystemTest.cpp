#include "wince/Metrics.h"
#include "wince/Module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

TEST(Metrics, VirtualScreenFromEnvironmentOrPhoneDefault)
{
    const struct {
        const char* value;
        int width, height;
    } cases[] = {
        {nullptr, 240, 400},
        {"480x800", 480, 800},
        {"320X240", 320, 240},
        {"1x1", 1, 1},
        {"32767x32767", 32767, 32767},
        {"", 240, 400},
        {"480", 240, 400},
        {"480x", 240, 400},
        {"0x800", 240, 400},
        {"480x-800", 240, 400},
        {" 480x800", 240, 400},
        {"480x800 ", 240, 400},
        {"32768x100", 240, 400},
        {"99999999999999999999x5", 240, 400},
        {"480x800x2", 240, 400},
    };
    for (const auto& c : cases) {
        c.value != nullptr ? setenv("VORNIC3D_SCREEN", c.value, 1) : unsetenv("VORNIC3D_SCREEN");
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height) << (c.value ? c.value : "(unset)");
    }
    unsetenv("VORNIC3D_SCREEN");
}

TEST(Module, FileNameIsTheExecutablesBytesWidenedAndTruncatedToTheBuffer)
{
    const std::string expected = std::filesystem::read_symlink("/proc/self/exe").string();
    ASSERT_FALSE(expected.empty());
    const auto full = static_cast<DWORD>(expected.size());
    const struct {
        DWORD size, result, copied;
    } cases[] = {
        {full + 1, full, full},
        {full, full, full - 1},
        {5, 5, 4},
        {1, 1, 0},
    };
    for (const auto& c : cases) {
        std::u16string buffer(full + 8, u'#');
        EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), c.size), c.result) << c.size;
        EXPECT_EQ(buffer[c.copied], 0) << c.size;
        EXPECT_EQ(buffer.find_first_not_of(u'#', c.copied + 1), std::u16string::npos) << c.size;
        // The engine narrows each unit to its low byte.
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + c.copied), expected.substr(0, c.copied)) << c.size;
    }
    WCHAR buffer[16] = {u'#'};
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 16), std::min<DWORD>(full, 16));
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, 16), 0u);
    EXPECT_EQ(GetModuleHandleW(u"coredll.dll"), nullptr);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(buffer), buffer, 16), 0u);
}
