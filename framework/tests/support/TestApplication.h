#pragma once

#include "framework/App.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Every call the test applications receive, in order: "createDevice",
// "update", "render", "deleted".
inline std::vector<std::string>& applicationEvents()
{
    static std::vector<std::string> events;
    return events;
}

// The tests' application: records each call; its rule answers each update
// from the update's number (1 for the first) and the elapsed time. The
// factory in TestApplication.cpp makes the one FRAMEWORK_TEST_APPLICATION names.
class TestApplication : public framework::App {
public:
    using UpdateRule = std::function<int(int update, int elapsedMs)>;

    explicit TestApplication(UpdateRule rule) : m_rule(std::move(rule)) { living() = this; }
    ~TestApplication() override
    {
        applicationEvents().push_back("deleted");
        living() = nullptr;
    }

    // The application made last, while it lives: what a start-up that failed
    // leaves to the caller to delete.
    static TestApplication*& living()
    {
        static TestApplication* application = nullptr;
        return application;
    }

    int update(int elapsedMs) override
    {
        applicationEvents().push_back("update");
        return m_rule(++m_updates, elapsedMs);
    }
    void render(render::Graphics3D*) override { applicationEvents().push_back("render"); }
    void createDevice(render::Graphics3D*) override { applicationEvents().push_back("createDevice"); }
    void suspend() override {}
    void resume() override {}

private:
    UpdateRule m_rule;
    int m_updates = 0;
};

} // namespace testsupport
