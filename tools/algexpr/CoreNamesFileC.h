// SPDX-License-Identifier: MIT
// CoreNamesFileC: reads a core vocabulary from a file (--core-names FILE):
// one name a line, surrounding blanks trimmed, blank lines and lines starting
// with "#" skipped. A name is a name of the strict prefix grammar (no
// whitespace, "(", ")" or ","), so that it reads back as itself; a name given
// twice is a mistake. A name that is a number text ("1e", "+") can name a
// core function but never a core symbol, since such a leaf reads as a number:
// it is kept, with a warning. Stateless.
#ifndef ALGEXPR_TOOL_CORENAMESFILEC_H
#define ALGEXPR_TOOL_CORENAMESFILEC_H

#include <string>
#include <vector>

namespace qorv::math::algexpr::cli {

class CoreNamesFileC {
public:
    /// Replaces `names` with the names in the file at `path`, in order, and
    /// appends a warning to `warnings` for each name that is a number text.
    /// False when the file cannot be read or holds a name that is not valid,
    /// with `problem` naming the file and, for a name, its line and column.
    static bool read(const std::string& path, std::vector<std::u16string>& names, std::vector<std::string>& warnings,
                     std::string& problem);
};

}  // namespace qorv::math::algexpr::cli

#endif
