// SPDX-License-Identifier: MIT
#include "Equations.h"

#include <string>

#include "GinacFunctions.h"
#include "OrderedSymbolC.h"
#include "RefusalC.h"

namespace qorv::math::algexpr::ginac::detail {

using support::RefusalC;

namespace {

bool isVariable(const GiNaC::ex& e) {
    const GiNaC::basic& object = GiNaC::ex_to<GiNaC::basic>(e);
    return typeid(object) == typeid(OrderedSymbolC);
}

// The equation as an expression that is zero.
GiNaC::ex zeroSide(const GiNaC::ex& equation) {
    if (GiNaC::is_a<GiNaC::relational>(equation)) {
        return equation.lhs() - equation.rhs();
    }
    if (GiNaC::is_a<GiNaC::lst>(equation)) {
        throw RefusalC(u"solve: an equation that is a list");
    }
    return equation;
}

bool holdsAny(const GiNaC::ex& e, const GiNaC::lst& variables) {
    for (const GiNaC::ex& x : variables) {
        if (e.has(x)) {
            return true;
        }
    }
    return false;
}

// Whether f (expanded) is a polynomial of degree at most 1 in the
// variables together, with coefficients free of them.
bool linear(const GiNaC::ex& f, const GiNaC::lst& variables) {
    for (const GiNaC::ex& x : variables) {
        if (!f.is_polynomial(x) || f.degree(x) > 1 || holdsAny(f.coeff(x, 1), variables)) {
            return false;
        }
    }
    return true;
}

}  // namespace

GiNaC::ex solveLinear(const GiNaC::ex& equations, const GiNaC::ex& variables) {
    const bool system = GiNaC::is_a<GiNaC::lst>(variables);
    GiNaC::lst names;
    GiNaC::lst given;
    if (system) {
        if (!GiNaC::is_a<GiNaC::lst>(equations) || variables.nops() == 0) {
            throw RefusalC(u"solve: a list of variables needs a list of equations");
        }
        for (const GiNaC::ex& x : variables) {
            if (!isVariable(x)) {
                throw RefusalC(u"solve: the variable must be a symbol");
            }
            if (holdsAny(x, names)) {
                throw RefusalC(u"solve: a variable named twice");
            }
            names.append(x);
        }
        for (const GiNaC::ex& equation : equations) {
            given.append(equation);
        }
    } else {
        if (!isVariable(variables)) {
            throw RefusalC(u"solve: the variable must be a symbol");
        }
        names.append(variables);
        given.append(equations);
    }
    GiNaC::lst zeros;
    for (const GiNaC::ex& equation : given) {
        const GiNaC::ex f = zeroSide(equation).expand();
        if (!linear(f, names)) {
            throw RefusalC(system ? u"solve: the GiNaC engine solves systems of linear equations only; Giac (--engine "
                                    u"giac) solves polynomial ones"
                                  : u"solve: the GiNaC engine solves linear equations only; Giac (--engine giac) "
                                    u"solves this one");
        }
        zeros.append(f == 0);
    }
    // lsolve answers an empty list for an inconsistent system; a variable
    // left free stands for itself in the values.
    const GiNaC::ex found = GiNaC::lsolve(zeros, names);
    if (found.nops() == 0) {
        return GiNaC::lst{};
    }
    GiNaC::lst values;
    for (const GiNaC::ex& relation : found) {
        // One fraction, but a sum over a number denominator (Giac's forms).
        GiNaC::ex value = relation.rhs().normal();
        if (isExactly<GiNaC::numeric>(value.denom())) {
            value = value.expand();
        }
        if (holdsAny(value, names)) {
            throw RefusalC(system ? u"solve: no single values, the solutions depend on a variable"
                                  : u"solve: no value, every value of the variable is a solution");
        }
        values.append(value);
    }
    if (!system) {
        return values;
    }
    // One solution: a list that holds the list of values (append, since
    // lst{values} copies `values` with some compilers, nests it with others).
    GiNaC::lst solutions;
    solutions.append(values);
    return solutions;
}

}  // namespace qorv::math::algexpr::ginac::detail
