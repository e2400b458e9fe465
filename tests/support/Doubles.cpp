// SPDX-License-Identifier: MIT
#include "Doubles.h"

namespace testing_doubles {

// Never destroyed: the installed session logs its destruction when the
// library is unloaded, after this executable's own statics are gone.
std::vector<std::string>& events() {
    static auto* log = new std::vector<std::string>;
    return *log;
}

std::vector<std::string> takeEvents() {
    std::vector<std::string> taken;
    taken.swap(events());
    return taken;
}

std::string shortest(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') {
        text += '0';
    }
    return text;
}

IntegerValueABC* TestIntegerFactory::fromString(const std::u16string& text) {
    client_hook();
    note([&] { return "int(" + narrow(text) + ")"; });
    if (text == bad_alloc_at) {
        throw std::bad_alloc();
    }
    const std::size_t digits = text.size() - (!text.empty() && text[0] == u'-' ? 1 : 0);
    if (digits == 0 || digits > 18 || text.find_first_not_of(u"0123456789", text.size() - digits) != std::u16string::npos) {
        return nullptr;
    }
    return new (std::nothrow) TestInteger(std::strtoll(narrow(text).c_str(), nullptr, 10));
}

FloatValueABC* TestFloatFactory::fromString(const std::u16string& text) {
    client_hook();
    note([&] { return "float(" + narrow(text) + ")"; });
    if (decline_integers && text.find_first_of(u".eE") == std::u16string::npos) {
        return nullptr;
    }
    if (text.empty()) {
        return accept_empty ? new (std::nothrow) TestFloat(0) : nullptr;
    }
    const std::string ascii = narrow(text);
    char* end = nullptr;
    const double value = std::strtod(ascii.c_str(), &end);
    return end == ascii.c_str() + ascii.size() ? new (std::nothrow) TestFloat(value) : nullptr;
}

}  // namespace testing_doubles
