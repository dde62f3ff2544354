#include "core/AssertationFailedException.h"
#include "core/Globals.h"

#include <gtest/gtest.h>

#include <functional>

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

void expectFailureIn(const std::function<void()>& action, const char* function)
{
    try {
        action();
        ADD_FAILURE() << "no exception from " << function;
    } catch (const AssertationFailedException& e) {
        EXPECT_STREQ(e.message, "Vornic3D exception");
        EXPECT_STREQ(e.function, function);
    }
}

} // namespace

TEST(Globals, UseOutsideItsLifeFails)
{
    expectFailureIn([] { Globals::get(); }, "core::Globals::get");
    expectFailureIn([] { Globals::deInitClass(); }, "core::Globals::deInitClass");
    Globals::initClass();
    expectFailureIn([] { Globals::initClass(); }, "core::Globals::initClass");
    EXPECT_NE(Globals::get(), nullptr);
    Globals::deInitClass();
    expectFailureIn([] { Globals::get(); }, "core::Globals::get");
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
        expectFailureIn([] { Globals::deInitClass(); }, "core::Globals::~Globals");
        // The failed registry is gone all the same: a new one can be made.
        expectFailureIn([] { Globals::get(); }, "core::Globals::get");
    }

    Globals::initClass();
    Globals::get()->m_defaultTextAppearance = fake<render::Appearance>();
    EXPECT_NO_THROW(Globals::deInitClass());
}
