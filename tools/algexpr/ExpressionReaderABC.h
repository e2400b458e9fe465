// SPDX-License-Identifier: MIT
// ExpressionReaderABC: the tool's reading step, text to expression. ToolC
// makes one reader for the run (ToolC::makeReader) and reads every input
// through it, the REPLACEMENT of subst included (--from): PrefixReaderC reads
// the prefix form, strictly or as the library does, InfixNotationReaderC
// infix. Another notation is another subclass and a case in makeReader.
// Needs the current session.
#ifndef ALGEXPR_TOOL_EXPRESSIONREADERABC_H
#define ALGEXPR_TOOL_EXPRESSIONREADERABC_H

#include <cstddef>
#include <string>
#include <vector>

#include "ReadErrorC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class ExpressionReaderABC {
public:
    virtual ~ExpressionReaderABC();

    /// The expression `text` holds, new and the caller's; null when it does
    /// not read, with `error` saying why in a few words and, where the reader
    /// can tell, the code-unit index in `text` where it goes wrong.
    virtual qorv::oss::PointerTC<AlgebraicExpressionC> read(const std::u16string& text, ReadErrorC& error) = 0;

    /// A name as it stands in a text: where it starts, and whether it names
    /// a function (a "(" follows it).
    struct NameS {
        std::size_t position;
        std::u16string name;
        bool called;
    };

    /// The names of a `text` that read, in the order they stand, numbers left
    /// out, for messages that point at one (a tool-side scan that follows the
    /// notation's tokens). False when the reader cannot tell, as by default.
    virtual bool listNames(const std::u16string& text, std::vector<NameS>& names) const;

protected:
    ExpressionReaderABC() = default;
};

}  // namespace qorv::math::algexpr::cli

#endif
