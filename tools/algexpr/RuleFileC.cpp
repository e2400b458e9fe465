// SPDX-License-Identifier: MIT
#include "RuleFileC.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "AppendUtf8.h"
#include "ExpressionReaderABC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

bool RuleFileC::read(const std::string& path, RuleReaderC::FormE form, ExpressionReaderABC& reader,
                     std::vector<RuleReaderC::LineS>& lines, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem = "cannot open '" + path + "'";
        return false;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) {
        problem = "cannot read '" + path + "'";
        return false;
    }
    std::u16string text;
    std::size_t bad = 0;
    if (Utf8C::decode(bytes.str(), text, bad) != Utf8C::Converted) {
        problem = path + ": not valid UTF-8 (at byte " + std::to_string(bad + 1) + ")";  // 1-based, as for the input
        return false;
    }
    RuleReaderC::ReadF read = [&reader](const std::u16string& part, std::size_t& position, std::u16string& message) {
        ReadErrorC error;
        qorv::oss::PointerTC<AlgebraicExpressionC> expression = reader.read(part, error);
        if (!expression) {
            position = error.position == ReadErrorC::kNoPosition ? 0 : error.position;
            message = Utf8C::toUtf16(error.message);
        }
        return expression;
    };
    RuleReaderC::ErrorS error;
    if (!RuleReaderC(read, form).read(text, lines, error)) {
        problem = describe(path, error);
        return false;
    }
    return true;
}

std::string RuleFileC::describe(const std::string& path, const RuleReaderC::ErrorS& error) {
    std::string text = path + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) + ": ";
    appendUtf8(error.message, text);
    return text;
}

}  // namespace qorv::math::algexpr::cli
