#pragma once

#include "framework/App.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The tests' application: writes each call the framework makes into
// applicationEvents() ("createDevice", "update", "render", "deleted"); its
// rule answers each update from the update's number (1 for the first) and
// the elapsed time. The factory in TestApplication.cpp makes the one that
// FRAMEWORK_TEST_APPLICATION names.
class TestApplication : public framework::App {
public:
    using UpdateRule = std::function<int(int update, int elapsedMs)>;

    explicit TestApplication(UpdateRule rule) : m_rule(std::move(rule)) {}
    ~TestApplication() override;

    int update(int elapsedMs) override;
    void render(render::Graphics3D* g3d) override;
    void createDevice(render::Graphics3D* g3d) override;
    void suspend() override {}
    void resume() override {}

private:
    UpdateRule m_rule;
    int m_updates = 0;
};

std::vector<std::string>& applicationEvents();

} // namespace testsupport
