// SPDX-License-Identifier: MIT
#include "algexpr/numeric/NumericSessionC.h"

#include <memory>
#include <new>
#include <utility>

#include "SessionCallC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/numeric/FloatValueFactoryC.h"
#include "algexpr/numeric/IntegerValueFactoryC.h"

namespace qorv::math::algexpr::numeric {

using qorv::oss::PointerTC;

NumericSessionC::NumericSessionC(const char16_t* const* core_names)
    : NumericSessionC(PointerTC<NumericEngineC>(new NumericEngineC(core_names)), core_names) {}

NumericSessionC::NumericSessionC(PointerTC<NumericEngineC> engine, const char16_t* const* core_names)
    : CASSessionBC(engine, core_names, PointerTC<IntegerValueFactoryABC>(new IntegerValueFactoryC),
                   PointerTC<FloatValueFactoryABC>(new FloatValueFactoryC)),
      engine_p(std::move(engine)) {}

NumericSessionC::~NumericSessionC() = default;

PointerTC<AlgebraicExpressionC> NumericSessionC::executeExpression(PointerTC<AlgebraicExpressionC> expression,
                                                                   bool require_number, std::u16string* reason) {
    return support::SessionCallC::execute(expression, reason, [&](NodeABC& root, std::u16string& why) -> NodeABC* {
        PointerTC<IntegerValueFactoryABC> integers = getIntegerValueFactory();
        PointerTC<FloatValueFactoryABC> floats = getFloatValueFactory();
        if (!integers || !floats) {
            why = u"no number factories";
            return nullptr;
        }
        std::unique_ptr<NodeABC> tree(engine_p->evaluate(root, *integers, *floats, require_number, why));
        return require_number && !why.empty() ? nullptr : tree.release();
    });
}

}  // namespace qorv::math::algexpr::numeric
