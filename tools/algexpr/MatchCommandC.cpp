// SPDX-License-Identifier: MIT
#include "MatchCommandC.h"

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "ExpressionReaderABC.h"
#include "ExpressionWriterABC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

MatchCommandC::MatchCommandC(const CommandLineC& options, ExpressionReaderABC& reader, ExpressionWriterABC& writer)
    : reader(reader), writer(writer), pattern_text(options.pattern) {}

bool MatchCommandC::prepare(std::string& problem) {
    std::u16string text;
    std::size_t bad = 0;
    if (Utf8C::decode(pattern_text, text, bad) != Utf8C::Converted) {
        problem = "the PATTERN is not valid UTF-8";
        return false;
    }
    ReadErrorC error;
    qorv::oss::PointerTC<AlgebraicExpressionC> read = reader.read(text, error);
    if (!read) {
        problem = error.describe("the PATTERN", text);
        return false;
    }
    std::u16string why;
    if (!pattern.compile(read->getNode(), PatternC::SettingsS(), &why)) {
        problem = "the PATTERN: ";
        appendUtf8(why, problem);
        return false;
    }
    return true;
}

bool MatchCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                           std::string& problem) {
    const MatchResultE result = matcher.match(pattern, expression.getNode());
    if (result == MatchResultE::OutOfMemory) {
        problem = "out of memory";
        return false;
    }
    if (result != MatchResultE::Matched) {
        out += result == MatchResultE::GaveUp ? "gave up\n" : "no match\n";
        return true;
    }
    std::string line;
    for (std::size_t w = 0; w < pattern.wildcardCount(); ++w) {
        line += w > 0 ? "; " : "";
        appendUtf8(pattern.wildcardName(w), line);
        line += pattern.isSequence(w) ? " = (" : " = ";
        for (std::size_t k = 0; k < matcher.bindingCount(w); ++k) {
            std::string written;
            if (!writer.write(*const_cast<NodeABC*>(matcher.bindingAt(w, k)), written, problem)) {
                return false;
            }
            line += (k > 0 ? ", " : "") + written;
        }
        line += pattern.isSequence(w) ? ")" : "";
    }
    out += (line.empty() ? std::string("match") : line) + "\n";
    return true;
}

}  // namespace qorv::math::algexpr::cli
