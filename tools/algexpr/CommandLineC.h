// CommandLineC: the tool's command line, read into plain settings, and the
// help texts. Knows nothing of the library beyond the display format enum.
//
//   algexpr [OPTION...] COMMAND [OPTION...] [ARG...]
//
// Options may stand anywhere before "--"; everything after "--" is an
// argument, so an expression that starts with "--" can be given too. An
// argument "-5" is an expression, not an option.
#ifndef ALGEXPR_TOOL_COMMANDLINEC_H
#define ALGEXPR_TOOL_COMMANDLINEC_H

#include <string>
#include <vector>

#include "TreeWriterC.h"
#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr::cli {

class CommandLineC {
public:
    enum class CommandE { None, Print, Tree, Subst, Eval };

    /// Reads argv. False on a usage error, described by error().
    bool parse(int argc, const char* const* argv);
    const std::string& error() const { return error_text; }

    /// The help for `command`, or for the tool with CommandE::None.
    static const char* help(CommandE command);

    bool want_help = false;
    bool want_version = false;
    CommandE command = CommandE::None;
    TreeWriterC::FormatE tree_format = TreeWriterC::FormatE::Text;
    unsigned long digits = 0;
    qorv::math::NumberDisplayFormatE number_format = qorv::math::Standard;
    bool has_core_names = false;
    std::string core_names_file;
    bool strict = false;         // eval --strict
    bool subst_by_code = false;  // subst --code N
    int subst_code = 0;
    std::string subst_name;   // subst NAME (UTF-8)
    std::string replacement;  // subst REPLACEMENT (UTF-8)
    std::vector<std::string> expressions;

private:
    bool fail(const std::string& text);

    std::string error_text;
};

}  // namespace qorv::math::algexpr::cli

#endif
