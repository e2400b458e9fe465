// SPDX-License-Identifier: MIT
#include "algexpr/numeric/NumericSessionC.h"

#include <memory>
#include <new>
#include <utility>

#include "OutOfMemory.h"
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
    std::u16string why;
    PointerTC<AlgebraicExpressionC> result;
    try {
        reserveOutOfMemory(why);
        PointerTC<IntegerValueFactoryABC> integers = getIntegerValueFactory();
        PointerTC<FloatValueFactoryABC> floats = getFloatValueFactory();
        if (!expression || expression->getNode() == nullptr) {
            why = u"nothing to evaluate";
        } else if (!integers || !floats) {
            why = u"no number factories";
        } else {
            std::unique_ptr<NodeABC> tree(
                engine_p->evaluate(*expression->getNode(), *integers, *floats, require_number, why));
            if (tree && !(require_number && !why.empty())) {
                result = PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(tree.get()));
                tree.release();
            }
        }
    } catch (const std::bad_alloc&) {
        result = PointerTC<AlgebraicExpressionC>();
        setOutOfMemory(why);
    }
    if (reason != nullptr) {
        reason->swap(why);
    }
    return result;
}

}  // namespace qorv::math::algexpr::numeric
