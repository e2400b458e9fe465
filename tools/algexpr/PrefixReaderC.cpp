#include "PrefixReaderC.h"

#include <utility>

namespace qorv::math::algexpr::cli {

qorv::oss::PointerTC<AlgebraicExpressionC> PrefixReaderC::read(std::u16string text, std::string& problem) {
    qorv::oss::PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(std::move(text));
    if (!expression) {
        problem = "does not read";
    }
    return expression;
}

}  // namespace qorv::math::algexpr::cli
