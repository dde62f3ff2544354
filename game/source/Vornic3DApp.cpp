#include "Vornic3DApp.h"

#include "Game.h"

#include "core/Debug.h"
#include "core/Vornic3DException.h"
#include "hal/Input.h"

namespace game {

Vornic3DApp::Vornic3DApp() = default;

Vornic3DApp::~Vornic3DApp() noexcept
{
    m_input = nullptr;
    // Leaving the menu builds the selected level, also when the game goes,
    // and the side zones may have chosen one whose file is first read here.
    // A full pool or a missing or bad level file there must not end the
    // program in std::terminate: the game has let go of its states and
    // globals (the records written) before the failure reaches here.
    try {
        m_game = nullptr;
    } catch (const Vornic3DException& e) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "%s\n", e.message);
    }
}

int Vornic3DApp::update(int elapsedMs)
{
    VORNIC3D_CHECK(m_game != nullptr);
    try {
        return m_pacing.update(elapsedMs, [this](int halfMs) { return m_game->update(halfMs); });
    } catch (...) {
        saveRecordsOnFailure();
        throw;
    }
}

void Vornic3DApp::render(render::Graphics3D* g3d)
{
    VORNIC3D_CHECK(m_game != nullptr);
    try {
        if (m_pacing.takePendingFrame())
            m_game->render(g3d);
    } catch (...) {
        saveRecordsOnFailure();
        throw;
    }
}

// The program ends without the game's teardown, which would only meet the
// failure again (leaving the menu builds the level that just failed to
// load), so the records are written here, before the failure passes on.
void Vornic3DApp::saveRecordsOnFailure()
{
    core::Debug::printf(core::Debug::LEVEL_WARNING, "Game: a failure ends the game; its best times are saved first\n");
    try {
        m_game->saveRecords();
    } catch (const Vornic3DException& e) {
        // The failure that ends the program is the one to report.
        core::Debug::printf(core::Debug::LEVEL_ERROR, "Game: the best times are not saved: %s\n", e.message);
    }
}

void Vornic3DApp::createDevice(render::Graphics3D* /*g3d*/)
{
    m_game = VORNIC3D_NEW Game();
    m_input = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
}

} // namespace game
