// SPDX-License-Identifier: MIT
// The tool's command line, read in process: where options may stand, what
// each sets, and the usage errors with their messages.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommandLineC.h"
#include "ResourceLimitsC.h"

using qorv::math::algexpr::cli::CommandE;
using qorv::math::algexpr::cli::CommandLineC;
using qorv::math::algexpr::cli::EngineRegistryC;
using qorv::math::algexpr::cli::NotationE;
using qorv::math::algexpr::cli::ResourceLimitsC;
using qorv::math::algexpr::cli::TreeWriterC;

namespace {

// The engines as the tool was built, and what each missing one says.
const bool kGinacBuilt = EngineRegistryC::named("ginac")->missing() == nullptr;
const bool kGiacBuilt = EngineRegistryC::named("giac")->missing() == nullptr;
const std::string kGinacMissing = kGinacBuilt ? "" : EngineRegistryC::named("ginac")->missing();
const std::string kGiacMissing = kGiacBuilt ? "" : EngineRegistryC::named("giac")->missing();

// Parses the words after the program name; the error text, or "" when the
// command line reads.
std::string parse(CommandLineC& line, std::vector<std::string> words) {
    words.insert(words.begin(), "algexpr");
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    return line.parse(static_cast<int>(argv.size()), argv.data()) ? "" : line.error();
}

TEST(CommandLineTest, OptionsStandAnywhereBeforeTheDoubleDash) {
    CommandLineC line;
    ASSERT_EQ(parse(line, {"--digits=3", "subst", "--float-format", "Fixed", "x", "--core-names", "names", "0.5", "-5",
                           "--", "--strict", "f(x)"}),
              "");
    EXPECT_EQ(line.command, CommandE::Subst);
    EXPECT_EQ(line.digits, 3u);
    EXPECT_EQ(line.float_format, qorv::math::Fixed);
    EXPECT_TRUE(line.has_core_names && line.core_names_file == "names");
    EXPECT_EQ(line.subst_name, "x");
    EXPECT_EQ(line.replacement, "0.5");
    EXPECT_EQ(line.expressions, (std::vector<std::string>{"-5", "--strict", "f(x)"}));
    EXPECT_FALSE(line.strict);
    EXPECT_FALSE(line.lax);
    EXPECT_EQ(line.from, NotationE::Prefix);
    EXPECT_EQ(line.to, NotationE::Prefix);

    CommandLineC by_code;
    ASSERT_EQ(parse(by_code, {"subst", "--code", "-2147483648", "pi"}), "");
    EXPECT_TRUE(by_code.subst_by_code && by_code.subst_code == -2147483648LL && by_code.replacement == "pi");
    EXPECT_TRUE(by_code.expressions.empty());

    CommandLineC tree;
    ASSERT_EQ(parse(tree, {"tree", "--format=JSON", "--float-format=engineering", "--digits", "0", "--lax"}), "");
    EXPECT_TRUE(tree.lax);

    CommandLineC notations;
    ASSERT_EQ(parse(notations, {"--from=Infix", "eval", "--to", "latex"}), "");
    EXPECT_EQ(notations.from, NotationE::Infix);
    EXPECT_EQ(notations.to, NotationE::Latex);
    EXPECT_EQ(tree.tree_format, TreeWriterC::FormatE::Json);
    EXPECT_EQ(tree.float_format, qorv::math::Engineering);
}

// The operations' operands, and the digits written and computed with.
TEST(CommandLineTest, OperandsEngineAndDigits) {
    CommandLineC diff;
    ASSERT_EQ(parse(diff, {"diff", "x", "--order=3", "f(x)", "g(x)"}), kGinacBuilt ? "" : diff.error());
    if (kGinacBuilt) {
        EXPECT_STREQ(diff.engine->name(), "ginac");
        EXPECT_EQ(diff.variable, "x");
        EXPECT_EQ(diff.diff_order, 3u);
        EXPECT_EQ(diff.expressions, (std::vector<std::string>{"f(x)", "g(x)"}));
    }
    CommandLineC series;
    ASSERT_EQ(parse(series, {"--engine", "GiNaC", "series", "t", "divide(pi,2)", "100", "sin(t)"}),
              kGinacBuilt ? "" : "--engine ginac: " + kGinacMissing);
    if (kGinacBuilt) {
        EXPECT_TRUE(series.variable == "t" && series.point == "divide(pi,2)" && series.series_order == 100u);
        EXPECT_EQ(series.expressions, (std::vector<std::string>{"sin(t)"}));
    }
    // Floats are written with --digits (0: all they hold); with GiNaC the
    // digits are also its precision (17 for 0), and eval --numeric writes
    // exactly that many.
    CommandLineC shortest;
    ASSERT_EQ(parse(shortest, {"eval", "--engine=numeric", "--numeric"}), "");
    EXPECT_TRUE(std::string(shortest.engine->name()) == "numeric" && shortest.numeric);
    EXPECT_EQ(shortest.writtenDigits(), 0u);
    if (kGinacBuilt) {
        CommandLineC exact;
        ASSERT_EQ(parse(exact, {"eval", "x"}), "");
        EXPECT_EQ(exact.precision(), 17u);
        EXPECT_EQ(exact.writtenDigits(), 0u);
        CommandLineC numeric;
        ASSERT_EQ(parse(numeric, {"eval", "--numeric", "x"}), "");
        EXPECT_EQ(numeric.writtenDigits(), 17u);
        CommandLineC thirty;
        ASSERT_EQ(parse(thirty, {"--digits", "30", "eval", "--numeric", "x"}), "");
        EXPECT_EQ(thirty.precision(), 30u);
        EXPECT_EQ(thirty.writtenDigits(), 30u);
    }
}

// With help or the version, the command needs no operands and any word may
// stand first.
TEST(CommandLineTest, HelpAndVersionNeedNothingElse) {
    CommandLineC subst_help;
    EXPECT_EQ(parse(subst_help, {"subst", "-h"}), "");
    EXPECT_TRUE(subst_help.want_help && subst_help.command == CommandE::Subst);
    CommandLineC general;
    EXPECT_EQ(parse(general, {"--help", "frobnicate"}), "");
    EXPECT_TRUE(general.want_help && general.command == CommandE::None);
    CommandLineC version;
    EXPECT_EQ(parse(version, {"--version"}), "");
    EXPECT_TRUE(version.want_version);
}

TEST(CommandLineTest, UsageErrorsSayWhatIsWrong) {
    const std::string giac_missing = "--engine giac: " + kGiacMissing;
    const struct {
        std::vector<std::string> words;
        std::string error;
    } cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"print", "--bogus"}, "unknown option --bogus"},
        {{"print", "--digits"}, "option --digits needs a value"},
        {{"print", "--version=2"}, "option --version takes no value"},
        {{"print", "--lax=yes"}, "option --lax takes no value"},
        {{"print", "--from", "latex"}, "--from takes prefix or infix: LaTeX is written, not read"},
        {{"print", "--from", "postfix"}, "--from takes prefix or infix, not 'postfix'"},
        {{"print", "--to", "html"}, "--to takes prefix, infix or latex, not 'html'"},
        {{"tree", "--to", "infix"},
         "--to is for the print, subst, eval, simplify, expand, factor, diff, series, integrate, limit, solve, match, "
         "rewrite and apart commands"},
        {{"print", "--from", "infix", "--lax"}, "--lax is for prefix reading: infix is read one way only"},
        {{"print", "--digits", "-1"}, "--digits takes a whole number >= 0, not '-1'"},
        {{"print", "--digits", "99999999999999999999"},
         "--digits takes a whole number >= 0, not '99999999999999999999'"},
        {{"print", "--float-format", "json"},
         "--float-format takes standard, fixed, scientific or engineering, not 'json'"},
        // --format is the tree's form only; a float form there points to --float-format.
        {{"print", "--format", "json"}, "--format is for the tree command"},
        {{"print", "--format", "standard"},
         "--format is the tree's form (text, json or dot); for the float form write --float-format standard"},
        {{"tree", "--format=Engineering"},
         "--format is the tree's form (text, json or dot); for the float form write --float-format Engineering"},
        {{"tree", "--format", "purple"}, "--format takes text, json or dot, not 'purple'"},
        {{"print", "--strict"}, "--strict is for the eval command"},
        {{"eval", "--code", "1"}, "--code is for the subst command"},
        {{"subst", "x"}, "subst needs a NAME and a REPLACEMENT"},
        {{"subst", "--code", "3"}, "subst --code N needs a REPLACEMENT"},
        {{"subst", "--code", "z", "1"}, "--code takes a whole number, not 'z'"},
        {{"subst", "--code", "2147483648", "1"}, "--code takes a whole number, not '2147483648'"},
        {{"print", "--numeric"}, "--numeric is for the eval command"},
        {{"eval", "--order", "2"}, "--order is for the diff command"},
        {{"print", "--engine", "maple"},
         std::string(kGinacBuilt && kGiacBuilt ? "--engine takes ginac, giac or numeric"
                     : kGinacBuilt             ? "--engine takes ginac or numeric"
                     : kGiacBuilt              ? "--engine takes giac or numeric"
                                               : "--engine takes numeric") +
             ", not 'maple'"},
        {{"diff"}, "diff needs a VAR"},
        {{"diff", "--order", "-1", "x"}, "--order takes a whole number from 0 to 50, not '-1'"},
        {{"series", "x", "0"}, "series needs a VAR, a POINT and an ORDER"},
        {{"series", "x", "0", "101"}, "series ORDER takes a whole number from 1 to 100, not '101'"},
        {{"series", "x", "0", "n"}, "series ORDER takes a whole number from 1 to 100, not 'n'"},
        {{"--engine", "numeric", "factor", "x"},
         std::string("factor needs the GiNaC or the Giac engine: ") +
             (kGinacBuilt ? "leave out --engine numeric" : kGiacBuilt ? "add --engine giac" : kGinacMissing.c_str())},
        {{"--engine", "numeric", "integrate", "x", "x"},
         std::string("integrate needs the Giac engine: ") + (kGiacBuilt ? "add --engine giac" : kGiacMissing.c_str())},
        {{"--engine", "giac", "integrate"}, kGiacBuilt ? "integrate needs a VAR" : giac_missing},
        {{"--engine", "giac", "solve"}, kGiacBuilt ? "solve needs a VAR" : giac_missing},
        {{"--engine", "giac", "limit", "x"}, kGiacBuilt ? "limit needs a VAR and a POINT" : giac_missing},
        {{"limit", "--side", "left", "x", "0"}, "--side takes above or below, not 'left'"},
        {{"--engine", "giac", "integrate", "--lower", "0", "x", "x"},
         kGiacBuilt ? "integrate takes --lower and --upper together" : giac_missing},
        {{"diff", "--side", "above", "x"}, "--side is for the limit command"},
    };
    for (const auto& c : cases) {
        CommandLineC line;
        EXPECT_EQ(parse(line, c.words), c.error) << ::testing::PrintToString(c.words);
    }
}

// rewrite evaluates (in a worker, with the default limits) only with --eval.
TEST(CommandLineTest, RewriteEvaluatesWithEvalOnly) {
    CommandLineC raw, evaluated, misplaced;
    ASSERT_EQ(parse(raw, {"rewrite", "--rules", "r.txt"}), "");
    EXPECT_FALSE(raw.evaluates());
    ASSERT_EQ(parse(evaluated, {"rewrite", "--rules", "r.txt", "--eval"}), "");
    EXPECT_TRUE(evaluated.evaluates());
    EXPECT_NE(parse(misplaced, {"eval", "--eval"}), "");
}

// --timeout, --max-memory and --in-process: for the commands that evaluate.
TEST(CommandLineTest, LimitsAreForTheEvaluatingCommandsOnly) {
    CommandLineC line;
    ASSERT_EQ(parse(line, {"diff", "--timeout", "2.5", "--max-memory=512M", "x"}), "");
    EXPECT_TRUE(line.evaluates());
    EXPECT_EQ(line.timeout_ms, 2500u);
    EXPECT_EQ(line.memoryLimit(), std::uint64_t{512} << 20);
    EXPECT_FALSE(line.in_process);

    CommandLineC defaults;
    ASSERT_EQ(parse(defaults, {"eval"}), "");
    EXPECT_EQ(defaults.timeout_ms, ResourceLimitsC::kDefaultTimeoutMs);
    EXPECT_EQ(defaults.memoryLimit(), ResourceLimitsC::defaultMaxMemory());
    CommandLineC none;
    ASSERT_EQ(parse(none, {"eval", "--timeout", "0", "--max-memory", "0"}), "");
    EXPECT_EQ(none.timeout_ms, 0u);
    EXPECT_EQ(none.memoryLimit(), 0u);
    CommandLineC in_process;
    ASSERT_EQ(parse(in_process, {"--in-process", "factor"}), "");
    EXPECT_TRUE(in_process.in_process);

    CommandLineC print;
    EXPECT_EQ(parse(print, {"print", "--timeout", "1"}),
              "--timeout is for the eval, simplify, expand, factor, diff, series, integrate, limit, solve and apart "
              "commands");
    EXPECT_FALSE(print.evaluates());
    CommandLineC errors;
    EXPECT_EQ(parse(errors, {"eval", "--timeout", "-1"}),
              "--timeout takes seconds (such as 10 or 0.5, 0 for none), not '-1'");
    EXPECT_EQ(parse(errors, {"eval", "--max-memory", "512K"}),
              "--max-memory takes a size from 1M up (such as 512M or 2G, 0 for none), not '512K'");
    EXPECT_EQ(parse(errors, {"eval", "--in-process", "--max-memory", "1G"}),
              "--max-memory is enforced by a worker process, which --in-process does without");
}

}  // namespace
