// SPDX-License-Identifier: MIT
#include "BenchSessionC.h"

#include "algexpr/numeric/FloatValueFactoryC.h"
#include "algexpr/numeric/IntegerValueFactoryC.h"

namespace qorv::math::algexpr::bench {

namespace {

// A vocabulary of typical size: arithmetic, elementary functions, relations,
// logic, containers and constants.
const char16_t* const kCoreElementNames[] = {
    u"plus",  u"times", u"minus", u"divide",    u"power",    u"negate", u"sqrt",      u"exp",       u"log",
    u"sin",   u"cos",   u"tan",   u"arcsin",    u"arccos",   u"arctan", u"sinh",      u"cosh",      u"tanh",
    u"abs",   u"floor", u"ceil",  u"factorial", u"equal",    u"less",   u"greater",   u"and",       u"or",
    u"not",   u"list",  u"set",   u"matrix",    u"vector",   u"diff",   u"integrate", u"sum",       u"product",
    u"limit", u"pi",    u"e",     u"i",         u"infinity", u"true",   u"false",     u"undefined", u""};

}  // namespace

BenchSessionC::BenchSessionC()
    : CASSessionBC(nullptr, kCoreElementNames, new numeric::IntegerValueFactoryC, new numeric::FloatValueFactoryC) {}

BenchSessionC::~BenchSessionC() = default;

qorv::oss::PointerTC<AlgebraicExpressionC> BenchSessionC::executeExpression(
    qorv::oss::PointerTC<AlgebraicExpressionC> expression, bool, std::u16string*) {
    return expression;
}

const char16_t* const* BenchSessionC::coreElementNames() { return kCoreElementNames; }

}  // namespace qorv::math::algexpr::bench
