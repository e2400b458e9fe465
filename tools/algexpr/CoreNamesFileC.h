// CoreNamesFileC: reads a core vocabulary from a file (--core-names FILE):
// one name a line, surrounding blanks trimmed, blank lines and lines starting
// with "#" skipped. A name must read back as itself, so it holds no blank,
// "(", ")" or ","; a name given twice is a mistake. Stateless.
#ifndef ALGEXPR_TOOL_CORENAMESFILEC_H
#define ALGEXPR_TOOL_CORENAMESFILEC_H

#include <string>
#include <vector>

namespace qorv::math::algexpr::cli {

class CoreNamesFileC {
public:
    /// Replaces `names` with the names in the file at `path`, in order.
    /// False when the file cannot be read or holds a name that is not
    /// valid, with `problem` naming the file and, for a name, its line.
    static bool read(const std::string& path, std::vector<std::u16string>& names, std::string& problem);
};

}  // namespace qorv::math::algexpr::cli

#endif
