// SPDX-License-Identifier: MIT
#include "InfixNotationReaderC.h"

#include <string>
#include <utility>

#include "AppendUtf8.h"

namespace qorv::math::algexpr::cli {

qorv::oss::PointerTC<AlgebraicExpressionC> InfixNotationReaderC::read(const std::u16string& text, ReadErrorC& error) {
    qorv::oss::PointerTC<AlgebraicExpressionC> expression = reader.read(text);
    if (!expression) {
        std::string utf8;
        appendUtf8(reader.getErrorMessage(), utf8);
        // Running out of memory happens nowhere in particular.
        const InfixReaderC::ErrorE kind = reader.getErrorKind();
        const bool has_place = kind != InfixReaderC::OutOfMemory && kind != InfixReaderC::NoSession;
        error.set(std::move(utf8), has_place ? reader.getErrorPosition() : ReadErrorC::kNoPosition);
    }
    return expression;
}

}  // namespace qorv::math::algexpr::cli
