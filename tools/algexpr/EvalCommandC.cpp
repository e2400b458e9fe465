#include "EvalCommandC.h"

#include "AppendUtf8.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

EvalCommandC::EvalCommandC(ExpressionWriterABC& writer, bool strict) : writer(writer), strict(strict) {}

bool EvalCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                          std::string& problem) {
    std::u16string reason;
    qorv::oss::PointerTC<AlgebraicExpressionC> result = expression.execute(strict, &reason);
    if (!result || result->getNode() == nullptr) {
        problem = strict ? "not a number: " : "cannot evaluate: ";
        appendUtf8(reason, problem);
        return false;
    }
    return writeLine(writer, *result->getNode(), out, problem);
}

}  // namespace qorv::math::algexpr::cli
