// SPDX-License-Identifier: MIT
#include "InfixNotationReaderC.h"

#include <string_view>
#include <utility>

#include "AppendUtf8.h"

namespace qorv::math::algexpr::cli {

qorv::oss::PointerTC<AlgebraicExpressionC> InfixNotationReaderC::read(const std::u16string& text, ReadErrorC& error) {
    qorv::oss::PointerTC<AlgebraicExpressionC> expression = reader.read(text);
    if (!expression) {
        const std::u16string_view message = reader.getErrorMessage();
        std::string utf8;
        appendUtf8(message, utf8);
        // Running out of memory happens nowhere in particular.
        const bool has_place = message != u"out of memory" && message != u"no session is current";
        error.set(std::move(utf8), has_place ? reader.getErrorPosition() : ReadErrorC::kNoPosition);
    }
    return expression;
}

}  // namespace qorv::math::algexpr::cli
