// SPDX-License-Identifier: MIT
#include "Driver.h"

#include <new>
#include <string>

#include "MessageText.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

// GiNaC's messages start with the C++ function that threw them
// ("power::eval(): division by zero"); the reason keeps what follows.
std::u16string messageOf(const char* what) {
    std::u16string text = support::utf16(what);
    const std::size_t marker = text.find(u"(): ");
    if (marker != std::u16string::npos && marker < 60) {
        bool identifier = true;
        for (std::size_t i = 0; i < marker; ++i) {
            const char16_t c = text[i];
            identifier = identifier && ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                                        (c >= u'0' && c <= u'9') || c == u'_' || c == u':');
        }
        if (identifier) {
            text.erase(0, marker + 4);
        }
    }
    while (!text.empty() && (text.back() == u'\n' || text.back() == u' ' || text.back() == u'.')) {
        text.pop_back();
    }
    return text.empty() ? u"GiNaC failed" : text;
}

}  // namespace

support::EngineDriverC& driver() noexcept {
    static const support::EngineDriverC::MessagesS messages{
        {u"the GiNaC worker thread cannot be started", u"the GiNaC worker has stopped: the process is exiting",
         u"this process was forked while GiNaC was at work on another thread; GiNaC cannot be used in it"},
        u"the engine failed"};
    return support::EngineDriverC::of<GinacEngineC>(GinacEngineC::kWorkerStackBytes, messages, messageOf);
}

}  // namespace qorv::math::algexpr::ginac::detail
