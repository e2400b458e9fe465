// SPDX-License-Identifier: MIT
#include "PrintCommandC.h"

#include "algexpr/AlgebraicExpressionC.h"

namespace qorv::math::algexpr::cli {

PrintCommandC::PrintCommandC(ExpressionWriterABC& writer) : writer(writer) {}

bool PrintCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                           std::string& problem) {
    return writeLine(writer, *expression.getNode(), out, problem);
}

}  // namespace qorv::math::algexpr::cli
