// SPDX-License-Identifier: MIT
// GinacLimitsS: the bounds within which the GiNaC engine computes, one
// session setting (GinacSessionC::setLimits), so that a supervising program
// can relax them. Each is checked on the whole expression before GiNaC sees
// it, where it can be (compositions included: derivative orders add up
// through nested diffs, the digits of numbers through products and powers,
// the terms of an expansion through what the operations inside produce),
// and on GiNaC's values where only they can tell; beyond a bound the
// evaluation ends with a null result and a reason that names it.
//
//   GinacLimitsS limits;          // the defaults below
//   limits.diff_order = 100;
//   session.setLimits(limits);
//
// The defaults keep the worst case each lets through at about a second on
// a 2-core 2.1 GHz machine (bench/ginac_limits.cpp measures them; sanitizer
// builds are 3 to 10 times slower). A plain value: copy it freely.
#ifndef ALGEXPR_GINAC_GINACLIMITSS_H
#define ALGEXPR_GINAC_GINACLIMITSS_H

#include <cstddef>

namespace qorv::math::algexpr::ginac {

struct GinacLimitsS {
    /// Levels of nesting (arguments GiNaC flattens, such as a plus inside a
    /// plus, do not count); GiNaC's algorithms recurse, and building some
    /// chains grows as the square of their depth (0.3 s at 10000).
    std::size_t depth = 10000;
    /// Nesting of the operand of diff: diff grows as the cube of the depth
    /// (0.5 s at 500).
    std::size_t diff_depth = 500;
    /// Nesting of the operand of simplify and factor (0.8 s at 5000).
    std::size_t simplify_depth = 5000;
    /// Nesting of the operand of series (0.8 s at 50, minutes at 100).
    std::size_t series_depth = 50;
    /// Nesting of the operand of real_part and imag_part: GiNaC splits each
    /// level of functions into its real and imaginary parts, which doubles
    /// the work a level (imag_part of 16 nested tan takes 0.3 s, of 22 17 s).
    std::size_t parts_depth = 16;
    /// Digits of an exact integer: in the input, in what products and
    /// powers would compute, and in results (a power of 10^6 digits takes
    /// 0.35 s).
    std::size_t integer_digits = 1000000;
    /// Digits of all the exact numbers an expression holds and computes.
    std::size_t total_digits = 5000000;
    /// Terms of an expanded form (expand, and simplify and factor, which
    /// expand on the way), estimated from above (0.3 s near it).
    std::size_t expand_terms = 100000;
    /// Terms of every polynomial the polynomial route (FLINT) computes for
    /// expand, factor, simplify, gcd, lcm, quo and rem at the root, bounded
    /// exactly before each product and power: about the terms result_nodes
    /// lets through (a dozen nodes a term of four symbols), at 1.4 KiB a
    /// written term about 210 MB (f*(f+1), f = (1+x+y+z+t)^20, 135,751
    /// terms, takes 2 s and 190 MB in the tool).
    std::size_t polynomial_terms = 150000;
    /// Digits of the coefficients of an expanded form, all together.
    std::size_t expand_digits = 5000000;
    /// Degree of all the denominators simplify and factor bring over a
    /// common one (the sum of 100 fractions 1/(x+k) takes 0.9 s, of 150
    /// 2.6 s).
    std::size_t denominator_degree = 100;
    /// Degree of a polynomial in one symbol that factor takes (time is
    /// erratic in the degree: x^60+1 takes 8 s, x^100-1 minutes).
    std::size_t factor_degree = 40;
    /// Degree of a polynomial in several symbols that factor takes
    /// (x^20-y^20 takes 0.5 s, x^24-y^24 2 s).
    std::size_t factor_multivariate_degree = 20;
    /// Terms of a polynomial in several symbols of degree above 5 that
    /// factor takes (ten times as many up to degree 5): dense ones grow much
    /// faster ((x+y+z+w)^6+1, 85 terms, takes 0.1 s; (x+y+z+w)^7+1, 121
    /// terms, minutes).
    std::size_t factor_multivariate_terms = 100;
    /// The order of a derivative, nested diffs added up (the 50th
    /// derivative of f(x)g(x)sin(x) takes 0.5 s, the 100th 10 s).
    std::size_t diff_order = 50;
    /// The order of a series.
    std::size_t series_order = 100;
    /// Nodes of a result tree.
    std::size_t result_nodes = 2000000;
    /// Answers of simplify, expand, factor and nintegrate are checked at
    /// seeded points before they are given (a wrong one is refused); off,
    /// an engine's wrong answer reaches the caller.
    bool check_answers = true;
    /// An answer the check finds no usable point for is refused, not given
    /// with the reason "unchecked: ...".
    bool refuse_unchecked = false;
};

}  // namespace qorv::math::algexpr::ginac

#endif
