// SPDX-License-Identifier: MIT
// SubstCommandC: "subst", each expression with a symbol replaced by copies
// of the REPLACEMENT expression, then written. The symbol is NAME, or the core
// symbol of NAME when NAME is a core name, or the core symbol of code N with
// --code N. prepare() reads the REPLACEMENT with the reader given, so it reads
// as the inputs do. The reader and the writer must outlive the command; the
// command keeps the settings it needs.
#ifndef ALGEXPR_TOOL_SUBSTCOMMANDC_H
#define ALGEXPR_TOOL_SUBSTCOMMANDC_H

#include <string>

#include "CommandABC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/SubstVisitorC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class CommandLineC;
class ExpressionReaderABC;

class SubstCommandC : public CommandABC {
public:
    SubstCommandC(const CommandLineC& options, ExpressionReaderABC& reader, ExpressionWriterABC& writer);

    /// Reads the REPLACEMENT and works out what NAME stands for.
    bool prepare(std::string& problem) override;
    bool handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out,
                std::string& problem) override;

private:
    ExpressionReaderABC& reader;
    ExpressionWriterABC& writer;
    std::string name_text;         // NAME (UTF-8)
    std::string replacement_text;  // REPLACEMENT (UTF-8)
    bool by_code;
    int code;
    std::u16string name;
    qorv::oss::PointerTC<AlgebraicExpressionC> replacement_p;
    SubstVisitorC substituter;
};

}  // namespace qorv::math::algexpr::cli

#endif
