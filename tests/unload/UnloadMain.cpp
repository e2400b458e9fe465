// SPDX-License-Identifier: MIT
// The current session is released once when the library is unloaded: the
// session installed here must be destroyed, once, after main returns, and
// code its destructor runs must find no current session (it used to find the
// dying one and destroy it again).
#include <cstdio>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

int destroyed = 0;

struct LoudSession : TestSession {
    LoudSession() : TestSession(nullptr, nullptr, nullptr) {}
    ~LoudSession() override {
        std::printf("session destroyed %d, current %s\n", ++destroyed, getSession() ? "still set" : "none");
    }
};

}  // namespace

int main() {
    PointerTC<CASSessionBC> session(new LoudSession);
    CASSessionBC::setSession(session);
    std::printf("installed, references %lu\n", session->references());
    return 0;
}
