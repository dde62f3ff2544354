#include "core/Globals.h"
#include "core/AssertationFailedException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using core::Globals;

namespace {

// Any non-null value stands for a registered singleton: the registry never
// dereferences what it holds.
template <typename T>
T* fake()
{
    static char storage;
    return reinterpret_cast<T*>(&storage);
}

// The function whose bare check `action` failed; "" when none did.
std::string failedIn(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AssertationFailedException& e) {
        return e.function;
    }
    return "";
}

} // namespace

TEST(Globals, UseOutsideItsLifeFails)
{
    EXPECT_EQ(failedIn([] { Globals::get(); }), "core::Globals::get");
    EXPECT_EQ(failedIn([] { Globals::deInitClass(); }), "core::Globals::deInitClass");
    Globals::initClass();
    EXPECT_EQ(failedIn([] { Globals::initClass(); }), "core::Globals::initClass");
    Globals::deInitClass();
    EXPECT_EQ(failedIn([] { Globals::get(); }), "core::Globals::get");
}

TEST(Globals, EverySlotButTheDefaultTextAppearanceMustBeClearedFirst)
{
    const std::function<void(Globals*)> fill[] = {
        [](Globals* g) { g->m_debug = fake<core::Debug>(); },
        [](Globals* g) { g->m_memoryManager = fake<core::MemoryManager>(); },
        [](Globals* g) { g->m_stringPoolMemoryManager = fake<core::MemoryManager>(); },
        [](Globals* g) { g->m_graphics3D = fake<render::Graphics3D>(); },
        [](Globals* g) { g->m_stringPool = fake<core::StringPool>(); },
        [](Globals* g) { g->m_system = fake<HAL::System>(); },
    };
    for (const auto& set : fill) {
        Globals::initClass();
        set(Globals::get());
        EXPECT_EQ(failedIn([] { Globals::deInitClass(); }), "core::Globals::~Globals");
        // The failed registry is gone all the same: a new one can be made.
        EXPECT_EQ(failedIn([] { Globals::get(); }), "core::Globals::get");
    }

    Globals::initClass();
    Globals::get()->m_defaultTextAppearance = fake<render::Appearance>();
    EXPECT_NO_THROW(Globals::deInitClass());
}
