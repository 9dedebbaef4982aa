// corvane-session SCENARIO.json: plays a scenario on the simulated session and writes what
// every application received (JSON lines on standard output; log lines on standard error).
#include <cstdio>
#include <iostream>

#include "Scenario.h"
#include "SessionDriver.h"
#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"

int main(int argc, char** argv) {
    using namespace corvane::session;
    corvane::platform::sim::installSimulatedSession();
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvane-session SCENARIO.json\n");
        return 2;
    }
    Scenario scenario;
    try {
        scenario = readScenarioFile(argv[1]);
    } catch (const ScenarioError& error) {
        std::fprintf(stderr, "corvane-session: %s: %s\n", argv[1], error.what());
        return 2;
    }
    corvane::platform::LogStore::shared().setEchoToStandardError(true);
    SessionDriver driver(std::move(scenario));
    try {
        driver.play();
    } catch (const SessionError& error) {
        std::fprintf(stderr, "corvane-session: %s: %s\n", argv[1], error.what());
        return 1;
    }
    driver.report(std::cout);
    return 0;
}
