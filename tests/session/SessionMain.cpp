// Runs its tests with a TestSession installed as the current session.
#include <gtest/gtest.h>

#include "SessionFixture.h"

namespace testing_doubles {

TestSession& installed() {
    static TestSession* session = [] {
        PointerTC<TestSession> made = makeSession(kCoreNames);
        CASSessionBC::setSession(made);
        return made.get();
    }();
    return *session;
}

}  // namespace testing_doubles

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testing_doubles::installed();
    return RUN_ALL_TESTS();
}
