// SPDX-License-Identifier: MIT
// RuleReaderC: reads rule files, one rule a line, in either notation:
//
//   # comments run from '#' to the end of the line; blank lines are skipped
//   log(times(wild(a,positive),wild(b,positive))) -> plus(log(wild(a)),log(wild(b)))
//   power(wild(x),wild(n)) -> wild(x) if integer(wild(n))
//
// A rule is PATTERN -> REPLACEMENT, optionally followed by "if CONDITION"
// (see RewriterC); each part is an expression text read by the ReadF given
// (prefix() or infix(), or the client's own). A file of forms (PatternConstraintsC)
// has no replacements: each line is [accept|reject] PATTERN [if CONDITION],
// accept by default. "->" and a word "if" between spaces split a line only
// outside parentheses and brackets, so neither collides with the notations'
// own operators; a symbol named "if" cannot be written in a rule.
//
// Errors name the line and the column (from 1, in code points) where the
// part that fails goes wrong. The reader keeps nothing of the text; the
// expressions it reads are the caller's (through PointerTC).
#ifndef ALGEXPR_RULEREADERC_H
#define ALGEXPR_RULEREADERC_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/algexpr_export.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class RewriterC;

class ALGEXPR_API RuleReaderC final {
public:
    /// Reads one expression; null with the code-unit index in `text` where
    /// it goes wrong and a message when it does not read.
    using ReadF = std::function<qorv::oss::PointerTC<AlgebraicExpressionC>(
        const std::u16string& text, std::size_t& position, std::u16string& message)>;
    /// The strict prefix form (PrefixSyntaxCheckC, then the library's reader).
    static ReadF prefix();
    /// Infix (InfixReaderC).
    static ReadF infix();

    enum class FormE { Rules, Forms };

    /// One line that holds a rule or form.
    struct LineS {
        std::size_t line = 0;     ///< from 1
        std::u16string keyword;   ///< Forms: "accept" or "reject"
        std::u16string text;      ///< the line without comment and keyword, trimmed
        qorv::oss::PointerTC<AlgebraicExpressionC> pattern, replacement, condition;  ///< null when absent
        std::size_t pattern_column = 0, replacement_column = 0, condition_column = 0;
    };
    struct ErrorS {
        std::size_t line = 0;
        std::size_t column = 0;
        std::u16string message;
    };

    RuleReaderC(ReadF read, FormE form);

    /// Replaces `lines` with the rules or forms of `text`. False at the first
    /// error, with `error` saying where and why.
    bool read(const std::u16string& text, std::vector<LineS>& lines, ErrorS& error) const;

    /// Adds the rules to `rewriter` in order; false at the first that does
    /// not compile, with `error` at the part's line and column.
    static bool addTo(const std::vector<LineS>& lines, RewriterC& rewriter, ErrorS& error);

    /// The 1-based column of the code-unit index `offset` in `line`.
    static std::size_t column(const std::u16string& line, std::size_t offset);

private:
    bool readLine(const std::u16string& line, LineS& rule, ErrorS& error) const;
    bool readPart(const std::u16string& line, std::size_t begin, std::size_t end, const char16_t* what,
                  qorv::oss::PointerTC<AlgebraicExpressionC>& part, std::size_t& part_column, ErrorS& error) const;

    ReadF read_f;
    FormE form;
};

}  // namespace qorv::math::algexpr

#endif
