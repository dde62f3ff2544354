#pragma once

#include "framework/App.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Every update and render the test applications receive, in order.
inline std::vector<std::string>& applicationEvents()
{
    static std::vector<std::string> events;
    return events;
}

// The tests' application: records its updates and renders; its rule answers
// each update from the update's number (1 for the first). The factory in
// TestApplication.cpp makes the one FRAMEWORK_TEST_APPLICATION names.
class TestApplication : public framework::App {
public:
    explicit TestApplication(std::function<int(int update)> rule) : m_rule(std::move(rule)) { living() = this; }
    ~TestApplication() override { living() = nullptr; }

    // The application made last, while it lives: what a start-up that failed
    // leaves to the caller to delete.
    static TestApplication*& living()
    {
        static TestApplication* application = nullptr;
        return application;
    }

    int update(int) override
    {
        applicationEvents().push_back("update");
        return m_rule(++m_updates);
    }
    void render(render::Graphics3D*) override { applicationEvents().push_back("render"); }
    void createDevice(render::Graphics3D*) override {}
    void suspend() override {}
    void resume() override {}

private:
    std::function<int(int)> m_rule;
    int m_updates = 0;
};

} // namespace testsupport
