// SPDX-License-Identifier: MIT
// The current session released at unload while another thread still holds
// it and takes and drops owners of it, its engine, factories and symbols
// without pause: the release gathers their counts meanwhile, and must lose
// none of that thread's owners and free nothing it still counts through.
// The session then goes, once, with the thread's last owner, and nothing
// goes earlier. An exit handler that runs after the library's static objects
// are gone waits for the thread to tell what it saw.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "algexpr/numeric.h"

extern "C" int __cxa_atexit(void (*function)(void*), void* argument, void* library);

namespace {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

std::atomic<int> destroyed{0};
std::atomic<bool> counting{false};
std::atomic<bool> done{false};

struct LoudSession : numeric::NumericSessionC {
    ~LoudSession() override { destroyed.fetch_add(1); }
};

// Holds the session and some of what it hands out, and counts owners of them
// until well after the unload; then lets go of its own.
void holdAcrossUnload() {
    PointerTC<CASSessionBC> mine = CASSessionBC::getSession();
    std::vector<PointerTC<SymbolC>> symbols(16, mine->lookupSymbol(u"x"));  // many owners: spread
    PointerTC<SymbolC> x = mine->lookupSymbol(u"x");
    PointerTC<IntegerValueFactoryABC> integers = mine->getIntegerValueFactory();
    counting.store(true);
    long after = 0;
    while (after < 200000) {
        PointerTC<CASSessionBC> session = mine;
        PointerTC<IntegerValueFactoryABC> factory = integers;
        PointerTC<SymbolC> symbol = x;
        after += CASSessionBC::getSession() ? 0 : 1;
    }
    const unsigned long references = mine->references();
    const unsigned long symbol_references = x->references();
    const int before = destroyed.load();
    symbols.clear();
    x = PointerTC<SymbolC>();
    integers = PointerTC<IntegerValueFactoryABC>();
    mine = PointerTC<CASSessionBC>();
    std::printf("held after unload: session %lu, symbol %lu; destroyed %d, then %d\n", references, symbol_references,
                before, destroyed.load());
    std::fflush(stdout);
    done.store(true);
}

void awaitHolder() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done.load() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf(done.load() ? "holder done\n" : "holder did not finish\n");
}

// The program's ELF destructor runs before the libraries' static objects go;
// an exit handler that it registers for no library in particular runs after
// all of them (atexit would tie it to the program, and run it at once).
__attribute__((destructor)) void awaitHolderLast() {
    __cxa_atexit([](void*) { awaitHolder(); }, nullptr, nullptr);
}

}  // namespace

int main() {
    CASSessionBC::setSession(PointerTC<CASSessionBC>(new LoudSession));
    std::thread(holdAcrossUnload).detach();
    while (!counting.load()) {
        std::this_thread::yield();
    }
    return 0;  // the library's static objects go now, the current session's release among them
}
