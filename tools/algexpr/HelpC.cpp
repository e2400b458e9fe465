// SPDX-License-Identifier: MIT
#include "HelpC.h"

#include <utility>
#include <vector>

#include "EngineRegistryC.h"

namespace qorv::math::algexpr::cli {

namespace {

void replaceAll(std::string& text, const std::string& name, const std::string& value) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
        text.replace(at, name.size(), value);
    }
}

const char kToolHelp[] =
    "Usage: algexpr [OPTION...] COMMAND [ARG...]\n"
    "Reads algebraic expressions, in prefix form such as plus(times(2,x),sin(pi))\n"
    "or in infix form such as 2*x + sin(pi), and prints, shows, substitutes,\n"
    "evaluates, simplifies or differentiates them, in prefix, infix or LaTeX.\n"
    "\n"
    "Commands:\n"
    "  print [EXPR...]                     read and print each expression\n"
    "  tree [--format text|json|dot] [EXPR...]\n"
    "                                      show each expression's tree\n"
    "  subst NAME REPLACEMENT [EXPR...]    replace the symbol NAME\n"
    "  subst --code N REPLACEMENT [EXPR...]\n"
    "                                      replace the core symbol with code N\n"
    "  eval [--strict|--numeric] [EXPR...] evaluate each expression\n"
    "  match PATTERN [EXPR...]             the bindings of PATTERN's wildcards\n"
    "  rewrite --rules FILE [EXPR...]      rewrite by the rules in FILE\n"
    "  check --accept FILE [EXPR...]       whether each has a form FILE accepts\n"
    "The operations, exact, with the GiNaC or the Giac engine:\n"
    "  simplify [EXPR...]                  rational normal form: one fraction,\n"
    "                                      common factors cancelled\n"
    "  expand [EXPR...]                    products and powers multiplied out\n"
    "  factor [EXPR...]                    polynomials factored over the rationals\n"
    "  diff [--order N] VAR [EXPR...]      the N-th derivative by the symbol VAR\n"
    "  series VAR POINT ORDER [EXPR...]    the series in VAR around POINT, terms\n"
    "                                      below power ORDER, then order(...)\n"
    "                                      (--drop-order: without it)\n"
    "                                      POINT infinity: in powers of 1/x\n"
    "  apart VAR [EXPR...]                 partial fractions in VAR over the\n"
    "                                      rationals\n"
    "  solve VAR [EXPR...]                 the real solutions of EXPR = 0 (GiNaC:\n"
    "                                      of linear equations only)\n"
    "and with the Giac engine only (--engine giac):\n"
    "  integrate [--lower A --upper B] VAR [EXPR...]\n"
    "                                      an antiderivative, or the definite\n"
    "                                      integral from A to B\n"
    "  limit [--side above|below] VAR POINT [EXPR...]\n"
    "                                      the limit as VAR tends to POINT\n"
    "Inside expressions, with the GiNaC engine (see algexpr eval --help):\n"
    "  factorial(n), binomial(n,k), gcd(a,b), lcm(a,b), mod(a,b) (the sign of b),\n"
    "  quo(a,b[,x]) and rem(a,b[,x]) of polynomials, nintegrate(f,x,a,b) (a\n"
    "  definite integral, numerically) and nsolve(f,x,a,b) (a root in [a, b])\n"
    "Each is the engine's core function of that name: 'algexpr diff x EXPR'\n"
    "gives what 'algexpr eval diff(EXPR,x)' does, 'algexpr series x 0 4 EXPR'\n"
    "what eval gives for series(EXPR,x,0,4). GiNaC's simplify applies no\n"
    "identities beyond algebra (sin(x)^2 + cos(x)^2 stays as it is); Giac's\n"
    "also applies trigonometric, exponential and radical ones.\n"
    "\n"
    "@ENGINES@"
    "\n"
    "Every command reads its EXPR arguments or, when there are none, one\n"
    "expression per line of standard input, and writes one line for each: a\n"
    "blank input line gives a blank line, and a line that cannot be read (or\n"
    "evaluated) gives an empty line and a message on standard error that names\n"
    "the line (or argument) and, for reading, the column where it goes wrong,\n"
    "then shows the place:\n"
    "  algexpr: line 3, column 5: text after the expression\n"
    "    f(x)y\n"
    "        ^\n"
    "(tree --format text and dot write a block per expression instead.)\n"
    "Text in and out is UTF-8; a column counts characters (code points).\n"
    "A name the vocabulary lacks is a new function or symbol; when it looks\n"
    "like a typo of a core name, a warning shows where, and the output stays:\n"
    "  line 1, column 1: warning: unknown function 'sinn'; did you mean 'sin'?\n"
    "(a function's name of 3 or more characters that differs by case or one\n"
    "edit, a symbol's of 2 or more that differs by case; never tau, phi, cot,\n"
    "coth, xi, nor one-letter names such as I and E).\n"
    "\n"
    "Notations (--from for what is read, operands such as subst's REPLACEMENT\n"
    "included; --to for what every command but tree writes):\n"
    "  prefix  (default) NAME(EXPR,...), a name or a number. Reading is strict:\n"
    "          a text is exactly one expression, and blanks may stand only\n"
    "          around names, numbers, parentheses and commas. So f(x, 2)\n"
    "          reads, while f(x, f(), f(a,,b), (x), f(x)y and 'si n(x)' are\n"
    "          errors, as is a number the number types do not accept\n"
    "          (plus(1-2,3)); --lax reads as the library does instead.\n"
    "  infix   + - * / ^ (or **) with the usual precedence, ^ binding\n"
    "          tightest and to the right, and calls f(x, y): -x^2 + 2*x/3.\n"
    "          The operators are the core functions plus, minus, times,\n"
    "          divide, power and neg: a-b-c is minus(minus(a,b),c), a+b+c is\n"
    "          plus(a,b,c) but a+(b+c) is plus(a,plus(b,c)), and -3 is a\n"
    "          number. With equal and list in the vocabulary, a = b is\n"
    "          equal(a,b) (loosest, not chained) and [a, b] is list(a,b).\n"
    "          Names are identifiers (letters, digits and _, not\n"
    "          starting with a digit); a tree with another name, such as a+b,\n"
    "          cannot be written in infix, and its line fails.\n"
    "  latex   written only: a formula for math mode, such as\n"
    "          2 x + \\sin\\left(\\frac{\\pi}{6}\\right), \\sin^{2}\\left(x_{1}\\right),\n"
    "          \\operatorname{f}'\\left(x\\right), \\left[ 1, 2 \\right]\n"
    "\n"
    "Options:\n"
    "  --engine ginac|giac|numeric\n"
    "                            the engine that evaluates (see above)\n"
    "  --from prefix|infix       the notation read (default prefix)\n"
    "  --to prefix|infix|latex   the notation written (default prefix)\n"
    "  --lax               read prefix as the library does: blanks anywhere\n"
    "                      are dropped (si n is sin), a missing last ')' is\n"
    "                      supplied, text after the last ')' is ignored; a\n"
    "                      text that does not read is named, but not where\n"
    "  --real X,Y          with GiNaC, the symbols that stand for real numbers;\n"
    "                      all others are complex (log(exp(x)) stays as it is\n"
    "                      unless x is real)\n"
    "  --complex           solve gives the complex solutions too, sorted by\n"
    "                      real then imaginary part (Giac; GiNaC's linear\n"
    "                      solutions are the same either way)\n"
    "  --assume FACTS      what symbols are, such as 'x>0,n integer' (also >=0,\n"
    "                      <0, !=0, real, positive, negative, nonnegative,\n"
    "                      nonzero; repeatable): with x>0, sqrt(x^2) is x and\n"
    "                      expand splits log(x*y) when y>0 too. GiNaC takes\n"
    "                      real and >0 only, Giac every one; the check of\n"
    "                      answers picks its points inside them\n"
    "  --core-names FILE   core vocabulary, one name a line (blank lines and\n"
    "                      lines starting with # skipped), instead of the\n"
    "                      engine's built-in one (see algexpr eval --help). A\n"
    "                      name that reads as a number (such as + or 1e) names\n"
    "                      a function only, never a symbol, and is warned about\n"
    "  --digits N          float digits: 0 (default) for the shortest text that\n"
    "                      reads back exactly; else significant digits, or\n"
    "                      digits after the point with --float-format fixed.\n"
    "                      With GiNaC, N is also the precision of the floats\n"
    "                      it computes: at most @MAX_DIGITS@, and @DIGITS@ when N is 0\n"
    "                      (the engines whose floats are doubles write at\n"
    "                      most 17 significant digits, and say so)\n"
    "  --float-format F    float form: standard (default), fixed, scientific\n"
    "                      or engineering\n"
    "  -h, --help          this help; COMMAND --help for a command's\n"
    "  --version           the version and the engines\n"
    "\n"
    "Limits. The engine's own limits (nesting depth, integer digits, terms of\n"
    "an expansion and others: see algexpr eval --help) are static: an input\n"
    "past one is refused before any work, quickly, with a message that names\n"
    "the limit (factor's degree in one symbol is raised under --timeout,\n"
    "which then bounds the time). What no static limit foresees is bounded\n"
    "per expression: eval and the operations, with the GiNaC engine, evaluate\n"
    "in a worker process that the tool supervises and holds to\n"
    "  --timeout SECONDS   the time of each expression (such as 10 or 0.5;\n"
    "                      default 60; 0 for none)\n"
    "  --max-memory SIZE   the memory each evaluation may take beyond what the\n"
    "                      worker holds when it starts (such as 512M or 2G;\n"
    "                      K, M, G, T count 1024s; default half the machine's\n"
    "                      physical memory; 0 for none)\n"
    "An expression past either, or whose engine dies, fails its own line, and\n"
    "the next line goes on at once in a new worker:\n"
    "  algexpr: line 7: evaluation took longer than 10 s (--timeout)\n"
    "  algexpr: line 7: needed more than 2 GiB of memory (--max-memory)\n"
    "  algexpr: line 7: the engine stopped (signal 6)\n"
    "  --in-process        evaluate in the tool's own process instead: no\n"
    "                      worker and no limits but the static ones, and an\n"
    "                      engine that dies ends the run (for debugging)\n"
    "The numeric engine always evaluates in the tool's own process: its work\n"
    "grows with its input alone.\n"
    "\n"
    "Answers are checked before they are written: the results of simplify,\n"
    "expand, factor, apart, integrate, solve and nintegrate, with GiNaC and Giac, are\n"
    "compared with their inputs at seeded points (rationals of both signs,\n"
    "complex where symbols are), in ball arithmetic; an answer that fails is\n"
    "asked of another engine that offers the operation, and whose symbols\n"
    "take every value these do (its answer written with a note that says\n"
    "so), else refused with what failed; one that no point could check is\n"
    "written with a warning (algexpr: line 3: unchecked: ...).\n"
    "  --no-check          no check (a little faster): an engine's wrong answer,\n"
    "                      such as a simplification that holds only for\n"
    "                      positive values, is then written as if it were right\n"
    "  --refuse-unchecked  an answer no point could check fails its line\n"
    "\n"
    "Exit status: 0 when every line was handled, 1 when some line failed or\n"
    "the output could not be written, 2 for a usage error.\n"
    "\n"
    "Examples: algexpr subst x 0.5 < exprs.txt | algexpr eval\n"
    "          algexpr print --from infix --to latex '(a+b)^2/2'\n";

const char kPrintHelp[] =
    "Usage: algexpr print [--from N] [--to N] [--lax] [--digits N] [--float-format F]\n"
    "                     [EXPR...]\n"
    "Reads each expression and prints it back, by default in prefix form and\n"
    "without spaces:\n"
    "  algexpr print 'plus( 1 , times(2,x) )'          ->  plus(1,times(2,x))\n"
    "  algexpr print --to infix 'power(plus(a,b),2)'    ->  (a + b)^2\n"
    "  algexpr print --from infix --to latex '1/x'      ->  \\frac{1}{x}\n"
    "A text that is not strict prefix is an error that says where; with --lax\n"
    "it is read as the library reads it:\n"
    "  algexpr print --lax 'si n(x'                    ->  sin(x)\n"
    "Notations, and floats with --digits and --float-format: see algexpr --help.\n";

const char kTreeHelp[] =
    "Usage: algexpr tree [--format text|json|dot] [--from N] [--lax] [--digits N]\n"
    "                    [--float-format F] [EXPR...]\n"
    "Shows each expression's tree, in the form --format names:\n"
    "  text  (default) one node a line: depth, kind, name or value, and the\n"
    "        code of core nodes; a blank line between two expressions\n"
    "  json  one JSON object per input line, nested through \"children\";\n"
    "        number values are strings\n"
    "  dot   one Graphviz digraph per expression:\n"
    "          algexpr tree --format dot 'f(x,2)' | dot -Tpng -o tree.png\n"
    "Kinds: core-function, function, core-symbol, symbol, integer, float.\n"
    "Floats are written with --digits and --float-format (see algexpr --help).\n"
    "With text and dot, blank input lines and lines that do not read give no\n"
    "block.\n";

const char kSubstHelp[] =
    "Usage: algexpr subst [--from N] [--to N] [--lax] [--digits N] [--float-format F]\n"
    "                     NAME REPLACEMENT [EXPR...]\n"
    "       algexpr subst --code N [OPTION...] REPLACEMENT [EXPR...]\n"
    "Prints each expression with every symbol NAME replaced by the expression\n"
    "REPLACEMENT. When NAME is a core name (such as pi), the core symbol of\n"
    "that name is replaced. With --code, the core symbols of code N are.\n"
    "Function names are never replaced, only their arguments are searched.\n"
    "  algexpr subst x 'plus(y,1)' 'times(x,x)'  ->  times(plus(y,1),plus(y,1))\n"
    "REPLACEMENT is read as the expressions are (--from, --lax):\n"
    "  algexpr subst --from infix --to infix x 'y+1' 'x^2'  ->  (y + 1)^2\n";

const char kMatchHelp[] =
    "Usage: algexpr match [--from N] [--to N] [--lax] [--digits N] [--float-format F]\n"
    "                     PATTERN [EXPR...]\n"
    "Matches each expression against PATTERN at its root and prints what the\n"
    "wildcards stand for, \"no match\", or \"gave up\" when the search ran out of\n"
    "attempts. A pattern is an expression with wildcards in it:\n"
    "  wild(a)            any one subtree; written twice, equal subtrees\n"
    "  wild(n, integer)   with conditions: integer, number, positive, symbol,\n"
    "                     free(x) (no x inside)\n"
    "  wilds(r)           a sequence: the rest of a function's arguments\n"
    "  algexpr match 'times(wild(a,number),x)' 'times(x,3)'  ->  a = 3\n"
    "  algexpr match 'plus(x,wilds(r))' 'plus(1,x,y)'      ->  r = (1, y)\n"
    "plus and times match their arguments in any order; nothing else is\n"
    "rearranged: matching is on the tree as read (minus(a,b) is not\n"
    "plus(a,neg(b)), nested plus nodes stay nested). PATTERN is read as the\n"
    "expressions are (--from):\n"
    "  algexpr match --from infix 'wild(a)^2' 'sin(x)^2'   ->  a = sin(x)\n";

const char kRewriteHelp[] =
    "Usage: algexpr rewrite --rules FILE [--steps N] [--eval] [--from N] [--to N] [--lax]\n"
    "                       [--digits N] [--float-format F] [EXPR...]\n"
    "Rewrites each expression by the rules of FILE, one a line:\n"
    "  PATTERN -> REPLACEMENT\n"
    "  PATTERN -> REPLACEMENT if CONDITION\n"
    "with # comments and blank lines; the parts are read as the expressions\n"
    "are (--from). At every node, arguments first, the first rule whose\n"
    "pattern matches (see algexpr match --help) with its condition holding\n"
    "replaces the node, its wildcards filled in; this repeats until nothing\n"
    "changes. A condition is integer(wild(a)), number, positive, symbol,\n"
    "free(wild(a),x), or and(...), or(...), not(...) of conditions:\n"
    "  log(times(wild(a),wild(b))) -> plus(log(wild(a)),log(wild(b))) if and(positive(wild(a)),positive(wild(b)))\n"
    "A rule set that has not settled after N rules applied (--steps, 10000 by\n"
    "default) fails the line. A file that does not read is an error naming\n"
    "FILE:LINE:COLUMN. Results are written as rewritten, not evaluated; --eval\n"
    "evaluates each with the engine, as eval does (3*1 is written 3).\n";

const char kCheckHelp[] =
    "Usage: algexpr check --accept FILE [--editing] [--from N] [--lax] [EXPR...]\n"
    "Tells for each expression whether it has a form that FILE accepts:\n"
    "  accept PATTERN [if CONDITION]   a form the whole expression may have\n"
    "  reject PATTERN [if CONDITION]   a form no part of it may have\n"
    "one a line (a bare PATTERN is accepted; patterns and conditions as for\n"
    "match and rewrite). Prints \"accepted: FORM\", \"rejected: FORM\" or \"not\n"
    "accepted\". A slot _ left in an expression is not accepted; with\n"
    "--editing a slot stands for anything, as in an expression still being\n"
    "filled in.\n";

const char kEvalHelp[] =
    "Usage: algexpr eval [--strict | --numeric] [--engine E] [--from N] [--to N]\n"
    "                    [--lax] [--digits N] [--float-format F] [--timeout S]\n"
    "                    [--max-memory SIZE | --in-process] [EXPR...]\n"
    "Evaluates each expression with the engine and prints the result.\n"
    "\n"
    "With GiNaC (--engine ginac, the default when built), exactly: integers\n"
    "and fractions of any size, constants and roots kept as such, symbols as\n"
    "symbols, and the result written in one order of its own (coefficients\n"
    "first, higher powers first, constants last) that does not depend on what\n"
    "was read before:\n"
    "  algexpr eval 'plus(divide(1,2),divide(1,3))'  ->  divide(5,6)\n"
    "  algexpr eval 'power(2,100)'     ->  1267650600228229401496703205376\n"
    "  algexpr eval 'sin(divide(pi,6))' 'sqrt(-1)'  ->  divide(1,2) and i\n"
    "  algexpr eval 'plus(1,x,x)'      ->  plus(times(2,x),1)\n"
    "Its names are those of the vocabulary below that it computes; the others\n"
    "are refused with the reason.\n"
    "Results read as people write them: sqrt(8) is 2*sqrt(2), exp(2)*exp(3)\n"
    "exp(5), atan(sqrt(3)) pi/3, and simplify rationalises denominators of\n"
    "square roots. Any other name is a symbol, or applied to arguments an\n"
    "unknown function that arithmetic works around. Floats are computed with\n"
    "--digits N significant digits (@DIGITS@ when N is 0; at most @MAX_DIGITS@).\n"
    "An input beyond the engine's limits fails its line with a message that\n"
    "names the limit: nesting deeper than @DEPTH@ levels (less inside diff,\n"
    "simplify, factor and series), integers of more than @INTEGER_DIGITS@ digits,\n"
    "expansions of more than @EXPAND_TERMS@ terms, derivatives of order above\n"
    "@DIFF_ORDER@ (nested diffs added up), among others; so do division by\n"
    "zero and poles. Each evaluation's time and memory are bounded too\n"
    "(--timeout, --max-memory: see algexpr --help).\n"
    "  --numeric  the value as one number: an integer when it is one, else a\n"
    "             float with exactly N significant digits, correctly rounded\n"
    "             (--digits N, 1 to @MAX_DIGITS@, default @DIGITS@; --float-format standard,\n"
    "             scientific or engineering):\n"
    "               algexpr eval --numeric --digits 30 'divide(1,3)'\n"
    "               ->  0.333333333333333333333333333333\n"
    "             a complex value is written a + b i, each part so rounded:\n"
    "               algexpr eval --numeric 'sqrt(-2)'  ->  times(1.414213562373095,i)\n"
    "             a result that is no number (free symbols) is an error: an\n"
    "             empty line, the reason on standard error, status 1\n"
    "  --strict   the exact result, but an error when it is not a real number\n"
    "\n"
    "With Giac (--engine giac), exactly too, with the names of the vocabulary\n"
    "below that it computes, floats as doubles; symbols are real.\n"
    "\n"
    "With --engine numeric, the names below that it computes. Integers stay exact\n"
    "while they fit in 64 bits; anything else becomes a double, written as\n"
    "--digits and --float-format say. What cannot be evaluated (free symbols,\n"
    "unknown functions, division by zero, results that are not real numbers)\n"
    "is left in place, with the rest folded:\n"
    "  algexpr eval --engine numeric 'plus(x,times(2,3))'  ->  plus(x,6)\n"
    "  --strict, --numeric  (the same here) a result that is not a single\n"
    "             number is an error\n"
    "\n"
    "@VOCABULARY@";

const char kSimplifyHelp[] =
    "Usage: algexpr simplify [--from N] [--to N] [--lax] [--digits N]\n"
    "                        [--float-format F] [--timeout S] [--max-memory SIZE]\n"
    "                        [EXPR...]\n"
    "Evaluates simplify(EXPR) for each expression, with the GiNaC engine: the\n"
    "rational normal form, one fraction of two polynomials with their common\n"
    "factors cancelled:\n"
    "  algexpr simplify 'divide(minus(power(x,2),1),minus(x,1))'  ->  plus(x,1)\n"
    "  algexpr simplify 'plus(divide(1,x),divide(1,y))'\n"
    "  ->  divide(plus(x,y),times(x,y))\n"
    "It applies no identities beyond algebra: sin(x)^2 + cos(x)^2, log(x*y)\n"
    "and sqrt(x^2) stay as they are (functions' arguments are simplified, and\n"
    "exact values such as sin(pi/6) are taken).\n";

const char kExpandHelp[] =
    "Usage: algexpr expand [--from N] [--to N] [--lax] [--digits N]\n"
    "                      [--float-format F] [--timeout S] [--max-memory SIZE]\n"
    "                      [EXPR...]\n"
    "Evaluates expand(EXPR) for each expression, with the GiNaC engine:\n"
    "products and positive integer powers of sums multiplied out:\n"
    "  algexpr expand 'power(plus(x,1),2)'  ->  plus(power(x,2),times(2,x),1)\n"
    "A polynomial (symbols, pi, function calls as its variables; integer or\n"
    "rational coefficients) is expanded by FLINT, and refused at once when a\n"
    "product or power in it could have more than @POLYNOMIAL_TERMS@ terms; other\n"
    "expansions estimated at more than @EXPAND_TERMS@ terms are refused.\n";

const char kFactorHelp[] =
    "Usage: algexpr factor [--from N] [--to N] [--lax] [--digits N]\n"
    "                      [--float-format F] [--timeout S] [--max-memory SIZE]\n"
    "                      [EXPR...]\n"
    "Evaluates factor(EXPR) for each expression, with the GiNaC engine:\n"
    "polynomials and quotients of them factored over the rationals by FLINT,\n"
    "integers into primes; what else GiNaC factors, of degree @FACTOR_DEGREE@ at most in\n"
    "one symbol (@TIMED_FACTOR_DEGREE@ under --timeout, which then bounds the time),\n"
    "@FACTOR_MULTIVARIATE_DEGREE@ in several:\n"
    "  algexpr factor 'minus(power(x,2),1)'  ->  times(minus(x,1),plus(x,1))\n"
    "  algexpr factor 360  ->  times(power(2,3),power(3,2),5)\n";

const char kDiffHelp[] =
    "Usage: algexpr diff [--order N] [--from N] [--to N] [--lax] [--digits N]\n"
    "                    [--float-format F] [--timeout S] [--max-memory SIZE]\n"
    "                    VAR [EXPR...]\n"
    "Evaluates diff(EXPR,VAR), or diff(EXPR,VAR,N) with --order N (0 to @DIFF_ORDER@),\n"
    "for each expression, with the GiNaC engine: the derivative by the symbol\n"
    "VAR. VAR is read as the expressions are (--from).\n"
    "  algexpr diff x 'power(x,3)'            ->  times(3,power(x,2))\n"
    "  algexpr diff --order 2 x 'sin(x)'      ->  neg(sin(x))\n"
    "Through a function the engine does not know, the derivative by its k-th\n"
    "argument is pdiff(f(...),k):\n"
    "  algexpr diff x 'f(times(2,x))'   ->  times(2,pdiff(f(times(2,x)),1))\n";

const char kSeriesHelp[] =
    "Usage: algexpr series [--drop-order] [--from N] [--to N] [--lax] [--digits N]\n"
    "                      [--float-format F] [--timeout S] [--max-memory SIZE]\n"
    "                      VAR POINT ORDER [EXPR...]\n"
    "Evaluates series(EXPR,VAR,POINT,ORDER) for each expression, with the\n"
    "GiNaC engine: the series of EXPR in the symbol VAR around the expression\n"
    "POINT: its terms below power ORDER (1 to @SERIES_ORDER@) of VAR - POINT, then the\n"
    "order term, unless the series is exact. VAR and POINT are read as the\n"
    "expressions are (--from).\n"
    "  algexpr series x 0 4 'exp(x)'\n"
    "  ->  plus(1,x,divide(power(x,2),2),divide(power(x,3),6),order(power(x,4)))\n"
    "--drop-order writes the series without its order term, a polynomial that\n"
    "can be evaluated at a point:\n"
    "  algexpr series --drop-order x 0 4 'exp(x)' | algexpr subst x 0.1 | algexpr eval\n";

const char kIntegrateHelp[] =
    "Usage: algexpr integrate --engine giac [--lower A --upper B] [--from N]\n"
    "                         [--to N] [--lax] [--digits N] [--float-format F]\n"
    "                         VAR [EXPR...]\n"
    "Evaluates integrate(EXPR,VAR), an antiderivative (without a constant), or\n"
    "with --lower A --upper B integrate(EXPR,VAR,A,B), the definite integral,\n"
    "for each expression, with the Giac engine. A and B may be infinity or\n"
    "neg(infinity). A divergent integral has no value: its line fails.\n"
    "  algexpr integrate --engine giac x 'times(power(x,2),sin(x))'\n"
    "  algexpr integrate --engine giac --lower 0 --upper infinity x 'exp(neg(x))'\n"
    "  ->  1\n";

const char kLimitHelp[] =
    "Usage: algexpr limit --engine giac [--side above|below] [--from N] [--to N]\n"
    "                     [--lax] [--digits N] [--float-format F]\n"
    "                     VAR POINT [EXPR...]\n"
    "Evaluates limit(EXPR,VAR,POINT), or limit(EXPR,VAR,POINT,1) (above) or\n"
    "limit(EXPR,VAR,POINT,-1) (below) with --side, for each expression, with\n"
    "the Giac engine. POINT may be infinity or neg(infinity). Without --side\n"
    "the limit is two-sided: it has no value, and its line fails, unless the\n"
    "limits from above and below agree.\n"
    "  algexpr limit --engine giac x 0 'divide(sin(x),x)'  ->  1\n"
    "  algexpr limit --engine giac --side above x 0 'divide(1,x)'  ->  infinity\n";

const char kSolveHelp[] =
    "Usage: algexpr solve [--engine giac] [--from N] [--to N] [--lax] [--digits N]\n"
    "                     [--float-format F] VAR [EXPR...]\n"
    "Evaluates solve(EXPR,VAR) for each expression, with the Giac engine: the\n"
    "list of the real solutions of EXPR = 0 (EXPR may be equal(L,R)), sorted,\n"
    "exact where Giac finds them, otherwise floats; for periodic equations,\n"
    "those Giac gives in one period; the real root of a cubic factor with one\n"
    "in radicals (Cardano's formula). The GiNaC engine solves equations linear\n"
    "in VAR, and systems solve(list(...),list(...)) of linear ones, as Giac\n"
    "writes them; others it refuses.\n"
    "  algexpr solve --engine giac x 'plus(power(x,2),times(-3,x),2)'  ->  list(1,2)\n";

const char kApartHelp[] =
    "Usage: algexpr apart [--engine E] [--from N] [--to N] [--lax] VAR [EXPR...]\n"
    "Evaluates apart(EXPR,VAR) for each expression: the partial fractions of a\n"
    "quotient of polynomials in VAR over the rationals, the polynomial part\n"
    "first, then c/f^k for each irreducible factor f of the denominator (c of\n"
    "lower degree than f). Other symbols may be in the numerator and in\n"
    "factors of the denominator without VAR; a factor such as x - a is refused.\n"
    "  algexpr apart --from infix --to infix x '1/(x^2-1)'  ->  1/(2*(x - 1)) - 1/(2*(x + 1))\n";

}  // namespace

namespace {

const char* rawText(CommandE command) {
    switch (command) {
        case CommandE::Print:
            return kPrintHelp;
        case CommandE::Tree:
            return kTreeHelp;
        case CommandE::Subst:
            return kSubstHelp;
        case CommandE::Eval:
            return kEvalHelp;
        case CommandE::Simplify:
            return kSimplifyHelp;
        case CommandE::Expand:
            return kExpandHelp;
        case CommandE::Factor:
            return kFactorHelp;
        case CommandE::Diff:
            return kDiffHelp;
        case CommandE::Series:
            return kSeriesHelp;
        case CommandE::Integrate:
            return kIntegrateHelp;
        case CommandE::Limit:
            return kLimitHelp;
        case CommandE::Solve:
            return kSolveHelp;
        case CommandE::Match:
            return kMatchHelp;
        case CommandE::Rewrite:
            return kRewriteHelp;
        case CommandE::Apart:
            return kApartHelp;
        case CommandE::Check:
            return kCheckHelp;
        case CommandE::None:
            break;
    }
    return kToolHelp;
}

}  // namespace

// The text with the engines' lines (@ENGINES@) and each @NAME@ replaced by
// the figure an engine gives it; a figure of an engine the tool was built
// without reads "?".
namespace {

// The engines' one vocabulary, a name a line with what it is and the
// engines that compute it, folded to 79 columns.
std::string vocabularyLines() {
    std::string text = "The vocabulary (core names), with the engines that compute each:\n";
    for (const support::WordS& word : support::kWords) {
        std::string line = std::string("  ") + word.form;
        line.append(line.size() < 24 ? 24 - line.size() : 1, ' ');
        line += word.summary;
        std::string engines;
        for (const EngineEntryABC* entry : EngineRegistryC::all()) {
            if (word.support[static_cast<std::size_t>(entry->column())] == support::SupportE::Computes) {
                engines += (engines.empty() ? "" : " ") + std::string(entry->name());
            }
        }
        engines = " [" + engines + "]";
        if (line.size() + engines.size() > 79) {
            text += line + "\n";
            line = std::string(24, ' ');
            line.append(line.size() + engines.size() < 79 ? 79 - line.size() - engines.size() : 0, ' ');
        }
        text += line + engines + "\n";
    }
    return text;
}

}  // namespace

std::string HelpC::text(CommandE command) {
    std::string engines = "Engines (--engine):\n";
    std::vector<std::pair<const char*, unsigned long long>> figures;
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        engines += entry->helpLines();
        for (const auto& figure : entry->helpFigures()) {
            figures.push_back(figure);
        }
    }
    std::string text = rawText(command);
    replaceAll(text, "@ENGINES@", engines);
    replaceAll(text, "@VOCABULARY@", vocabularyLines());
    for (const auto& [name, value] : figures) {
        replaceAll(text, name, std::to_string(value));
    }
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
        const std::size_t end = text.find('@', at + 1);
        if (end != std::string::npos && end > at + 1 &&
            text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_", at + 1) == end) {
            text.replace(at, end - at + 1, "?");
        }
    }
    return text;
}

}  // namespace qorv::math::algexpr::cli
