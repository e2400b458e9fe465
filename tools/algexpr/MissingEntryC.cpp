// SPDX-License-Identifier: MIT
#include "MissingEntryC.h"

namespace qorv::math::algexpr::cli {

// "  (giac:    not built: this algexpr was built without Giac: install ...)",
// folded at 76 columns; the name carries a colon so that no line starts
// with a built engine's "  giac " pattern.
std::string MissingEntryC::helpLines() const {
    std::string text = std::string("  (") + name_ + ":";
    text.append(text.size() < 11 ? 11 - text.size() : 1, ' ');
    std::string line = text;
    text.clear();
    const std::string words = std::string("not built: ") + why_ + ")";
    std::size_t at = 0;
    while (at < words.size()) {
        std::size_t end = words.find(' ', at);
        end = end == std::string::npos ? words.size() : end;
        const std::string word = words.substr(at, end - at);
        if (line.size() + word.size() + 1 > 76 && line.find_first_not_of(' ') < line.size() &&
            line.back() != ' ') {
            text += line + "\n";
            line = std::string(11, ' ');
        } else if (line.back() != ' ') {
            line += ' ';
        }
        line += word;
        at = end + 1;
    }
    return text + line + "\n";
}

bool MissingEntryC::install(const CommandLineC&, const char16_t* const*, std::string& problem) const {
    problem = std::string("--engine ") + name_ + ": " + why_;
    return false;
}

}  // namespace qorv::math::algexpr::cli
