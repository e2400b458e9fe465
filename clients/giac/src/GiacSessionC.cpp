// SPDX-License-Identifier: MIT
#include "algexpr/giac/GiacSessionC.h"

#include <memory>
#include <new>
#include <utility>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/giac/IntegerValueFactoryC.h"
#include "algexpr/numeric/FloatValueFactoryC.h"

namespace qorv::math::algexpr::giac {

using qorv::oss::PointerTC;

GiacSessionC::GiacSessionC(const char16_t* const* core_names)
    : GiacSessionC(PointerTC<GiacEngineC>(new GiacEngineC(core_names)), core_names) {}

GiacSessionC::GiacSessionC(PointerTC<GiacEngineC> engine, const char16_t* const* core_names)
    : CASSessionBC(engine, core_names, PointerTC<IntegerValueFactoryABC>(new IntegerValueFactoryC),
                   PointerTC<FloatValueFactoryABC>(new numeric::FloatValueFactoryC)),
      engine_p(std::move(engine)) {}

GiacSessionC::~GiacSessionC() = default;

PointerTC<AlgebraicExpressionC> GiacSessionC::executeExpression(PointerTC<AlgebraicExpressionC> expression,
                                                                bool numeric, std::u16string* reason) {
    std::u16string why;
    PointerTC<AlgebraicExpressionC> result;
    try {
        if (!expression || expression->getNode() == nullptr) {
            why = u"nothing to evaluate";
        } else {
            std::unique_ptr<NodeABC> tree(engine_p->evaluate(*expression->getNode(), *this, numeric, limits, why));
            if (tree) {
                result = PointerTC<AlgebraicExpressionC>(new AlgebraicExpressionC(tree.get()));
                tree.release();
            }
        }
    } catch (const std::bad_alloc&) {
        result = PointerTC<AlgebraicExpressionC>();
        why = u"out of memory";
    }
    if (reason != nullptr) {
        reason->swap(why);
    }
    return result;
}

bool GiacSessionC::setLimits(const GiacEngineC::LimitsS& limits) {
    if (limits.max_depth == 0 || limits.max_nodes == 0 || limits.max_integer_digits == 0) {
        return false;
    }
    this->limits = limits;
    return true;
}

const GiacEngineC::LimitsS& GiacSessionC::getLimits() const { return limits; }

}  // namespace qorv::math::algexpr::giac
