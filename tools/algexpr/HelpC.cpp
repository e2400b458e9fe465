#include "HelpC.h"

namespace qorv::math::algexpr::cli {

namespace {

const char kToolHelp[] =
    "Usage: algexpr [OPTION...] COMMAND [ARG...]\n"
    "Reads algebraic expressions, in prefix form such as plus(times(2,x),sin(pi))\n"
    "or in infix form such as 2*x + sin(pi), and prints, shows, substitutes or\n"
    "evaluates them, in prefix, infix or LaTeX.\n"
    "\n"
    "Commands:\n"
    "  print [EXPR...]                     read and print each expression\n"
    "  tree [--format text|json|dot] [EXPR...]\n"
    "                                      show each expression's tree\n"
    "  subst NAME REPLACEMENT [EXPR...]    replace the symbol NAME\n"
    "  subst --code N REPLACEMENT [EXPR...]\n"
    "                                      replace the core symbol with code N\n"
    "  eval [--strict] [EXPR...]           evaluate each expression\n"
    "\n"
    "Every command reads its EXPR arguments or, when there are none, one\n"
    "expression per line of standard input, and writes one line for each: a\n"
    "blank input line gives a blank line, and a line that cannot be read gives\n"
    "an empty line and a message on standard error that names the line (or\n"
    "argument) and the column where it goes wrong, then shows the place:\n"
    "  algexpr: line 3, column 5: text after the expression\n"
    "    f(x)y\n"
    "        ^\n"
    "(tree --format text and dot write a block per expression instead.)\n"
    "Text in and out is UTF-8; a column counts characters (code points).\n"
    "\n"
    "Notations (--from for what is read, subst's REPLACEMENT included; --to\n"
    "for what print, subst and eval write):\n"
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
    "  --from prefix|infix       the notation read (default prefix)\n"
    "  --to prefix|infix|latex   the notation written (default prefix)\n"
    "  --lax               read prefix as the library does: blanks anywhere\n"
    "                      are dropped (si n is sin), a missing last ')' is\n"
    "                      supplied, text after the last ')' is ignored; a\n"
    "                      text that does not read is named, but not where\n"
    "  --core-names FILE   core vocabulary, one name a line (blank lines and\n"
    "                      lines starting with # skipped), instead of the\n"
    "                      built-in one: plus minus times divide power neg sin\n"
    "                      cos tan exp log sqrt abs pi e. A name that reads as\n"
    "                      a number (such as + or 1e) names a function only,\n"
    "                      never a symbol, and is warned about\n"
    "  --digits N          float digits: 0 (default) for the shortest text that\n"
    "                      reads back exactly; else significant digits, or\n"
    "                      digits after the point with --float-format fixed\n"
    "  --float-format F    float form: standard (default), fixed, scientific\n"
    "                      or engineering\n"
    "  -h, --help          this help; COMMAND --help for a command's\n"
    "  --version           the version\n"
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

const char kEvalHelp[] =
    "Usage: algexpr eval [--strict] [--from N] [--to N] [--lax] [--digits N]\n"
    "                    [--float-format F] [EXPR...]\n"
    "Evaluates each expression with the numeric engine and prints the result:\n"
    "plus, minus, times, divide, power, neg, sin, cos, tan, exp, log, sqrt,\n"
    "abs, and the constants pi and e. Integers stay exact while they fit in\n"
    "64 bits; anything else becomes a float.\n"
    "What cannot be evaluated (free symbols, unknown functions, division by\n"
    "zero, results that are not real numbers) is left in place, with the\n"
    "rest folded:  algexpr eval 'plus(x,times(2,3))'  ->  plus(x,6)\n"
    "         algexpr eval --from infix --to infix 'x + 2*3'  ->  x + 6\n"
    "  --strict  a result that is not a single number is an error: an empty\n"
    "            line, the reason on standard error, exit status 1\n";

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
        case CommandE::None:
            break;
    }
    return kToolHelp;
}

}  // namespace qorv::math::algexpr::cli
