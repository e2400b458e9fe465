// SPDX-License-Identifier: MIT
// Equations in the GiNaC engine: solve(f,x) and solve(list(f,...),
// list(x,...)) of equations linear in the variables, by GiNaC's lsolve, in
// the shapes the Giac engine gives (a list of the values; for a system a
// list of solutions, each the list of the variables' values in their
// order). An equation is equal(l,r) or an expression, meaning it equals 0.
// Nonlinear ones are refused with the reason (Giac solves polynomial ones);
// so is a system whose solutions depend on a variable. Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_EQUATIONS_H
#define ALGEXPR_GINAC_SRC_EQUATIONS_H

#include <ginac/ginac.h>

namespace qorv::math::algexpr::ginac::detail {

/// `equations` a GiNaC lst (of relationals or expressions) when `variables`
/// is one, else one equation in one symbol. Throws RefusalC.
GiNaC::ex solveLinear(const GiNaC::ex& equations, const GiNaC::ex& variables);

}  // namespace qorv::math::algexpr::ginac::detail

#endif
