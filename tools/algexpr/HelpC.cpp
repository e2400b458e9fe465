// SPDX-License-Identifier: MIT
#include "HelpC.h"

namespace qorv::math::algexpr::cli {

namespace {

// The engines, as the tool was built.
#ifdef ALGEXPR_TOOL_WITH_GINAC
#define ALGEXPR_TOOL_ENGINES                                                     \
    "Engines (--engine):\n"                                                      \
    "  ginac    (default) GiNaC: exact integers and fractions of any size,\n"    \
    "           floats with --digits significant digits (17 by default),\n"     \
    "           symbols, and the operations above\n"                             \
    "  numeric  64-bit integers and doubles; what it cannot evaluate stays in\n" \
    "           place, and it has none of the operations\n"
#else
#define ALGEXPR_TOOL_ENGINES                                                      \
    "Engines (--engine):\n"                                                       \
    "  numeric  64-bit integers and doubles; what it cannot evaluate stays in\n"  \
    "           place. The only engine: this algexpr was built without GiNaC,\n"  \
    "           which gives exact numbers and the operations above; install\n"    \
    "           libginac-dev (scripts/install-deps.sh does) and rebuild\n"
#endif

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
    "The operations, exact, with the GiNaC engine only:\n"
    "  simplify [EXPR...]                  rational normal form: one fraction,\n"
    "                                      common factors cancelled\n"
    "  expand [EXPR...]                    products and powers multiplied out\n"
    "  factor [EXPR...]                    polynomials factored over the rationals\n"
    "  diff [--order N] VAR [EXPR...]      the N-th derivative by the symbol VAR\n"
    "  series VAR POINT ORDER [EXPR...]    the series in VAR around POINT, terms\n"
    "                                      below power ORDER, then order(...)\n"
    "Each is the engine's core function of that name: 'algexpr diff x EXPR'\n"
    "gives what 'algexpr eval diff(EXPR,x)' does, 'algexpr series x 0 4 EXPR'\n"
    "what eval gives for series(EXPR,x,0,4). simplify applies no identities\n"
    "beyond algebra: sin(x)^2 + cos(x)^2 stays as it is, and so do log(x*y) and\n"
    "sqrt(x^2). Integration, solving equations and limits are not offered.\n"
    "\n" ALGEXPR_TOOL_ENGINES
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
    "          number. Names are identifiers (letters, digits and _, not\n"
    "          starting with a digit); a tree with another name, such as a+b,\n"
    "          cannot be written in infix, and its line fails.\n"
    "  latex   written only: a formula for math mode, such as\n"
    "          2 x + \\sin\\left(\\frac{\\pi}{6}\\right)\n"
    "\n"
    "Options:\n"
    "  --engine ginac|numeric    the engine that evaluates (see above)\n"
    "  --from prefix|infix       the notation read (default prefix)\n"
    "  --to prefix|infix|latex   the notation written (default prefix)\n"
    "  --lax               read prefix as the library does: blanks anywhere\n"
    "                      are dropped (si n is sin), a missing last ')' is\n"
    "                      supplied, text after the last ')' is ignored; a\n"
    "                      text that does not read is named, but not where\n"
    "  --core-names FILE   core vocabulary, one name a line (blank lines and\n"
    "                      lines starting with # skipped), instead of the\n"
    "                      engine's built-in one (see algexpr eval --help). A\n"
    "                      name that reads as a number (such as + or 1e) names\n"
    "                      a function only, never a symbol, and is warned about\n"
    "  --digits N          float digits: 0 (default) for the shortest text that\n"
    "                      reads back exactly; else significant digits, or\n"
    "                      digits after the point with --float-format fixed.\n"
    "                      With GiNaC, N is also the precision of the floats\n"
    "                      it computes: at most 10000, and 17 when N is 0\n"
    "  --float-format F    float form: standard (default), fixed, scientific\n"
    "                      or engineering\n"
    "  -h, --help          this help; COMMAND --help for a command's\n"
    "  --version           the version and the engines\n"
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
    "Usage: algexpr rewrite --rules FILE [--steps N] [--from N] [--to N] [--lax]\n"
    "                       [--digits N] [--float-format F] [EXPR...]\n"
    "Rewrites each expression by the rules of FILE, one a line:\n"
    "  PATTERN -> REPLACEMENT\n"
    "  PATTERN -> REPLACEMENT if CONDITION\n"
    "with # comments and blank lines; the parts are read as the expressions\n"
    "are (--from). At every node, arguments first, the first rule whose\n"
    "pattern matches (see algexpr match --help) and whose condition holds\n"
    "replaces the node, its wildcards filled in; this repeats until nothing\n"
    "changes. A condition is integer(wild(a)), number, positive, symbol,\n"
    "free(wild(a),x), or and(...), or(...), not(...) of conditions:\n"
    "  log(times(wild(a),wild(b))) -> plus(log(wild(a)),log(wild(b))) if and(positive(wild(a)),positive(wild(b)))\n"
    "A rule set that has not settled after N rules applied (--steps, 10000 by\n"
    "default) fails the line. A file that does not read is an error naming\n"
    "FILE:LINE:COLUMN.\n";

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
    "                    [--lax] [--digits N] [--float-format F] [EXPR...]\n"
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
    "Its names: plus minus times divide power neg sin cos tan exp log sqrt abs\n"
    "pi e asin acos atan sinh cosh tanh i, and the operations diff(f,x),\n"
    "diff(f,x,n), expand(f), simplify(f), factor(f), series(f,x,a,n) (see\n"
    "algexpr --help); any other name is a symbol, or applied to arguments an\n"
    "unknown function that arithmetic works around. Floats are computed with\n"
    "--digits N significant digits (17 when N is 0; at most 10000).\n"
    "An input beyond the engine's limits fails its line with a message that\n"
    "names the limit: nesting deeper than 10000 levels (less inside diff,\n"
    "simplify, factor and series), integers of more than 1000000 digits,\n"
    "expansions of more than 100000 terms, among others; so do division by\n"
    "zero and poles.\n"
    "  --numeric  the value as one number: an integer when it is one, else a\n"
    "             float with exactly N significant digits, correctly rounded\n"
    "             (--digits N, 1 to 10000, default 17; --float-format standard,\n"
    "             scientific or engineering):\n"
    "               algexpr eval --numeric --digits 30 'divide(1,3)'\n"
    "               ->  0.333333333333333333333333333333\n"
    "             a result that is no real number (free symbols, i) is an\n"
    "             error: an empty line, the reason on standard error, status 1\n"
    "  --strict   the exact result, but an error when it is not a real number\n"
    "\n"
    "With --engine numeric: plus, minus, times, divide, power, neg, sin, cos,\n"
    "tan, exp, log, sqrt, abs, and the constants pi and e. Integers stay exact\n"
    "while they fit in 64 bits; anything else becomes a double, written as\n"
    "--digits and --float-format say. What cannot be evaluated (free symbols,\n"
    "unknown functions, division by zero, results that are not real numbers)\n"
    "is left in place, with the rest folded:\n"
    "  algexpr eval --engine numeric 'plus(x,times(2,3))'  ->  plus(x,6)\n"
    "  --strict, --numeric  (the same here) a result that is not a single\n"
    "             number is an error\n";

const char kSimplifyHelp[] =
    "Usage: algexpr simplify [--from N] [--to N] [--lax] [--digits N]\n"
    "                        [--float-format F] [EXPR...]\n"
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
    "                      [--float-format F] [EXPR...]\n"
    "Evaluates expand(EXPR) for each expression, with the GiNaC engine:\n"
    "products and positive integer powers of sums multiplied out:\n"
    "  algexpr expand 'power(plus(x,1),2)'  ->  plus(power(x,2),times(2,x),1)\n"
    "An expansion estimated at more than 100000 terms is refused.\n";

const char kFactorHelp[] =
    "Usage: algexpr factor [--from N] [--to N] [--lax] [--digits N]\n"
    "                      [--float-format F] [EXPR...]\n"
    "Evaluates factor(EXPR) for each expression, with the GiNaC engine:\n"
    "polynomials factored over the rationals (of degree 40 at most):\n"
    "  algexpr factor 'minus(power(x,2),1)'  ->  times(minus(x,1),plus(x,1))\n";

const char kDiffHelp[] =
    "Usage: algexpr diff [--order N] [--from N] [--to N] [--lax] [--digits N]\n"
    "                    [--float-format F] VAR [EXPR...]\n"
    "Evaluates diff(EXPR,VAR), or diff(EXPR,VAR,N) with --order N (0 to 50),\n"
    "for each expression, with the GiNaC engine: the derivative by the symbol\n"
    "VAR. VAR is read as the expressions are (--from).\n"
    "  algexpr diff x 'power(x,3)'            ->  times(3,power(x,2))\n"
    "  algexpr diff --order 2 x 'sin(x)'      ->  neg(sin(x))\n"
    "Through a function the engine does not know, the derivative by its k-th\n"
    "argument is pdiff(f(...),k):\n"
    "  algexpr diff x 'f(times(2,x))'   ->  times(2,pdiff(f(times(2,x)),1))\n";

const char kSeriesHelp[] =
    "Usage: algexpr series [--from N] [--to N] [--lax] [--digits N]\n"
    "                      [--float-format F] VAR POINT ORDER [EXPR...]\n"
    "Evaluates series(EXPR,VAR,POINT,ORDER) for each expression, with the\n"
    "GiNaC engine: the series of EXPR in the symbol VAR around the expression\n"
    "POINT: its terms below power ORDER (1 to 100) of VAR - POINT, then the\n"
    "order term, unless the series is exact. VAR and POINT are read as the\n"
    "expressions are (--from).\n"
    "  algexpr series x 0 4 'exp(x)'\n"
    "  ->  plus(divide(power(x,3),6),divide(power(x,2),2),x,1,order(power(x,4)))\n";

}  // namespace

const char* HelpC::text(CommandE command) {
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
        case CommandE::Match:
            return kMatchHelp;
        case CommandE::Rewrite:
            return kRewriteHelp;
        case CommandE::Check:
            return kCheckHelp;
        case CommandE::None:
            break;
    }
    return kToolHelp;
}

}  // namespace qorv::math::algexpr::cli
