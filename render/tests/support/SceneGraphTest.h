#pragma once

#include "EngineTest.h"
#include "TestGraphics3D.h"

#include "core/Ref.h"
#include "core/Vector.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

// The engine fixture with a TestGraphics3D registered as the renderer
// singleton, so appearances, vertex buffers and sprites can be made and
// textures come without a device. Every test is a leak test: scene objects
// must be held by the test body's own references, which are gone before
// TearDown runs the leak check.
class SceneGraphTest : public EngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The renderer SetUp registers; a fixture may give one that records
    // what it is asked to do.
    virtual TestGraphics3D* createRenderer();

    // Properties set here apply to objects made afterwards.
    TestGraphics3D& renderer() { return *m_renderer; }

private:
    TestGraphics3D* m_renderer = nullptr;
};

// A core::Vector of the given elements, for the calls that take one.
template <typename T>
core::Vector<T> vectorOf(const std::vector<T>& elements)
{
    core::Vector<T> v;
    for (const T& e : elements)
        v.pushBack(e);
    return v;
}

// How a call ended: the text of the engine assertion it threw ("" when it
// returned) and whether that text went to the log as an error first (a bare
// assertion logs nothing).
struct Outcome {
    std::string message;
    bool logged = false;

    bool operator==(const Outcome& other) const { return message == other.message && logged == other.logged; }
};
std::ostream& operator<<(std::ostream& out, const Outcome& outcome);

Outcome outcomeOf(const std::function<void()>& action);
inline Outcome accepted()
{
    return {};
}
inline Outcome bare()
{
    return {"Vornic3D exception", false};
}
inline Outcome refused(const char* text)
{
    return {text, true};
}

// One row of a setter table: a call on a fresh object, how it ends, and a
// part of the object's description afterwards ("" for none). A refused call
// must leave the whole description as it was.
template <typename T>
struct SetterCase {
    const char* call;
    std::function<void(T&)> action;
    Outcome outcome;
    std::string after;
};

// make: () -> T*, a new object; describe: (const T&) -> std::string, all of
// its state.
template <typename T, typename Make, typename Describe>
void runSetterTable(const std::vector<SetterCase<T>>& cases, Make make, Describe describe)
{
    for (const SetterCase<T>& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<T> object = make();
        const std::string before = describe(*object);
        EXPECT_EQ(outcomeOf([&] { c.action(*object); }), c.outcome);
        const std::string now = describe(*object);
        if (c.outcome == accepted())
            EXPECT_NE(now.find(c.after), std::string::npos) << now;
        else
            EXPECT_EQ(now, before);
    }
}

} // namespace testsupport
