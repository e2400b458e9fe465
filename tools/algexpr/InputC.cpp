// SPDX-License-Identifier: MIT
#include "InputC.h"

namespace qorv::math::algexpr::cli {

InputC::InputC(const std::vector<std::string>& arguments, int fd)
    : arguments(arguments), lines(fd), descriptor(arguments.empty() ? fd : -1) {}

InputC::TakenE InputC::take(std::string_view& text, std::size_t& number) {
    if (descriptor < 0) {
        if (count == arguments.size()) {
            return TakenE::End;
        }
        text = arguments[count];
        number = ++count;
        return TakenE::Line;
    }
    const TakenE taken = lines.take(text);
    if (taken == TakenE::Line) {
        if (count == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") {  // a byte order mark
            text.remove_prefix(3);
        }
        number = ++count;
    }
    return taken;
}

bool InputC::next(std::string_view& text, std::size_t& number) {
    TakenE taken = TakenE::NeedRead;
    while ((taken = take(text, number)) == TakenE::NeedRead) {
        fill();
    }
    return taken == TakenE::Line;
}

void InputC::fill() { lines.fill(); }

const char* InputC::kind() const { return descriptor < 0 ? "argument" : "line"; }

int InputC::fd() const { return descriptor; }

bool InputC::failed() const { return lines.failed(); }

}  // namespace qorv::math::algexpr::cli
