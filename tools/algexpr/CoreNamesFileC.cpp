#include "CoreNamesFileC.h"

#include <set>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "LineReaderC.h"
#include "Utf8C.h"

namespace qorv::math::algexpr::cli {

namespace {

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

bool CoreNamesFileC::read(const std::string& path, std::vector<std::u16string>& names, std::string& problem) {
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
        line = trimmed(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::u16string name;
        std::size_t bad = 0;
        if (!Utf8C::decode(line, name, bad)) {
            wrong = "invalid UTF-8";
        } else if (name.find_first_of(u" \t(),") != std::u16string::npos) {
            wrong = "a name holds no blank, '(', ')' or ','";
        } else if (!seen.insert(name).second) {
            wrong = "'" + std::string(line) + "' is named twice";
        } else {
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
        problem = path + ":" + std::to_string(number) + ": " + wrong;
        return false;
    }
    return true;
}

}  // namespace qorv::math::algexpr::cli
