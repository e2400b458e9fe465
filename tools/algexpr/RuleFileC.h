// SPDX-License-Identifier: MIT
// RuleFileC: a rule file (rewrite --rules) or a file of forms (check
// --accept) read with the tool's expression reader, so its patterns read as
// the inputs do (--from). Problems are "FILE:LINE:COLUMN: message". The
// reader must outlive the call.
#ifndef ALGEXPR_TOOL_RULEFILEC_H
#define ALGEXPR_TOOL_RULEFILEC_H

#include <string>
#include <vector>

#include "algexpr/RuleReaderC.h"

namespace qorv::math::algexpr::cli {

class ExpressionReaderABC;

class RuleFileC {
public:
    /// Reads `path` into `lines`; false with `problem`.
    static bool read(const std::string& path, RuleReaderC::FormE form, ExpressionReaderABC& reader,
                     std::vector<RuleReaderC::LineS>& lines, std::string& problem);
    /// "FILE:LINE:COLUMN: message".
    static std::string describe(const std::string& path, const RuleReaderC::ErrorS& error);
};

}  // namespace qorv::math::algexpr::cli

#endif
