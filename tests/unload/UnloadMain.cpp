// The current session is released once when the library is unloaded: the
// session installed here must be destroyed, once, after main returns.
#include <cstdio>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

int destroyed = 0;

struct LoudSession : TestSession {
    LoudSession() : TestSession(nullptr, nullptr, nullptr) {}
    ~LoudSession() override { std::printf("session destroyed %d\n", ++destroyed); }
};

}  // namespace

int main() {
    PointerTC<CASSessionBC> session(new LoudSession);
    CASSessionBC::setSession(session);
    std::printf("installed, references %lu\n", session->references());
    return 0;
}
