// SPDX-License-Identifier: MIT
#include "FuzzEnvironmentC.h"

#include <cstdio>
#include <cstdlib>

namespace algexpr_fuzz {

using namespace testing_doubles;

const char16_t* const FuzzEnvironmentC::kCoreNames[] = {u"sin", u"plus", u"g", u"pi", u"cos", u""};

std::u16string FuzzEnvironmentC::current_text;

TestSession& FuzzEnvironmentC::begin(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    static TestSession* session = [] {
        PointerTC<TestSession> made = makeSession(kCoreNames);
        CASSessionBC::setSession(made);
        return made.get();
    }();
    const std::uint8_t flags = size > 0 ? data[0] : 0;
    static_cast<TestFloatFactory*>(session->CASSessionBC::getFloatValueFactory().get())->accept_empty =
        (flags & 1) != 0;
    session->hide_integer_factory = (flags & 2) != 0;
    session->hide_float_factory = (flags & 4) != 0;
    session->logging = false;
    decode(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0, text);
    takeEvents();
    return *session;
}

void FuzzEnvironmentC::decode(const std::uint8_t* data, std::size_t size, std::u16string& text) {
    text.clear();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != 0xFF) {
            text += static_cast<char16_t>(data[i]);
        } else if (i + 2 < size) {
            text += static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        } else {
            break;
        }
    }
    current_text = text;
}

void FuzzEnvironmentC::end() {
    check(TestInteger::live == 0 && TestFloat::live == 0, "a number value outlived its tree");
    CASSessionBC::getSession()->flushUnusedSymbols();
    takeEvents();
}

void FuzzEnvironmentC::check(bool condition, const char* what) {
    if (condition) {
        return;
    }
    std::fprintf(stderr, "check failed: %s\ntext:", what);
    for (char16_t c : current_text) {
        if (c >= 0x20 && c < 0x7F) {
            std::fprintf(stderr, " %c", static_cast<char>(c));
        } else {
            std::fprintf(stderr, " U+%04X", static_cast<unsigned>(c));
        }
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

}  // namespace algexpr_fuzz
