// SPDX-License-Identifier: MIT
#include "CoreNamesFileC.h"

#include <set>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "LineReaderC.h"
#include "ReadErrorC.h"
#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

namespace {

// The line without blanks at either end; `indent` is the number of blanks
// taken from the front.
std::string_view trimmed(std::string_view line, std::size_t& indent) {
    indent = 0;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
        ++indent;
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

// The index of the first character that a name of the strict grammar cannot
// hold, or npos.
std::size_t firstNonNameCharacter(const std::u16string& name) { return name.find_first_of(u" \t\n\r(),"); }

}  // namespace

bool CoreNamesFileC::read(const std::string& path, std::vector<std::u16string>& names,
                          std::vector<std::string>& warnings, std::string& problem) {
    names.clear();
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        problem = "cannot open core names file '" + path + "'";
        return false;
    }
    LineReaderC reader(fd);
    std::string_view line;
    std::size_t number = 0;
    std::set<std::u16string> seen;
    std::string wrong;  // what is wrong with the name on line `number`
    while (wrong.empty() && reader.next(line)) {
        ++number;
        std::size_t indent = 0;
        line = trimmed(line, indent);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::u16string name;
        std::size_t bad = 0;
        const std::string here = path + ":" + std::to_string(number);
        if (Utf8C::decode(line, name, bad) != Utf8C::Converted) {
            wrong = here + ": invalid UTF-8";
        } else if ((bad = firstNonNameCharacter(name)) != std::u16string::npos) {
            wrong = here + ", column " + std::to_string(indent + ReadErrorC::column(name, bad)) +
                    ": a name holds no whitespace, '(', ')' or ','";
        } else if (!seen.insert(name).second) {
            wrong = here + ": '" + std::string(line) + "' is named twice";
        } else {
            if (PrefixSyntaxCheckC::readsAsNumber(name)) {
                warnings.push_back(here + ": '" + std::string(line) +
                                   "' reads as a number where it stands alone, so it can name a core function "
                                   "but never a core symbol");
            }
            names.push_back(std::move(name));
        }
    }
    const bool read_failed = reader.failed();
    ::close(fd);
    if (read_failed) {
        problem = "cannot read core names file '" + path + "'";
        return false;
    }
    if (!wrong.empty()) {
        problem = wrong;
        return false;
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
