// The main of every test program: the tests run on the simulated session, installed before
// any test touches the platform. A test that needs the live primitives installs them over it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/sim/Session.h"

int main(int argc, char** argv) {
    corvane::platform::sim::installSimulatedSession();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
