#include "WholeGameTest.h"

#include "MediaPath.h"

#include "wince/Input.h"
#include "wince/TestApi.h"

#include <algorithm>
#include <string>

namespace gametest {

void WholeGameTest::SetUp()
{
    GameTest::SetUp();
    game::GameGlobals::deInitClass();
    removeFiles();
    WinceTestSetKeyState(VK_LBUTTON, true);
}

void WholeGameTest::TearDown()
{
    m_game = nullptr;
    removeFiles();
    WinceTestReset();
    GameTest::TearDown();
}

std::filesystem::path WholeGameTest::fileOf(const char* name)
{
    std::string path = game::mediaPath(name).c_str();
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void WholeGameTest::removeFiles()
{
    std::filesystem::remove(fileOf("hiscore.bin"));
    std::filesystem::remove(fileOf("../config.txt"));
}

} // namespace gametest
