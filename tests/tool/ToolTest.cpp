// The algexpr tool end to end: each test spawns the binary with arguments
// and standard input, and checks standard output, standard error and the
// exit status.
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

extern char** environ;

namespace {

struct Result {
    std::string out, err;
    int status;
    bool operator==(const Result& r) const { return out == r.out && err == r.err && status == r.status; }
};

void PrintTo(const Result& r, std::ostream* os) {
    *os << "status " << r.status << ", out " << ::testing::PrintToString(r.out.substr(0, 300)) << ", err "
        << ::testing::PrintToString(r.err);
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "algexpr-tool-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern + "/";
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    static std::string slurp(const std::string& file) {
        std::ostringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    }

    // Runs the tool; standard output goes to `out_file` when one is given.
    Result run(std::vector<std::string> words, const std::string& input = "", const std::string& out_file = "") {
        const std::string in = dir + "in", out = out_file.empty() ? dir + "out" : out_file, err = dir + "err";
        std::ofstream(in, std::ios::binary) << input;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        words.insert(words.begin(), ALGEXPR_TOOL);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        int status = -1;
        EXPECT_EQ(posix_spawn(&pid, ALGEXPR_TOOL, &actions, nullptr, argv.data(), environ), 0) << ALGEXPR_TOOL;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        posix_spawn_file_actions_destroy(&actions);
        return Result{out_file.empty() ? slurp(out) : "", slurp(err),
                      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
    }

    std::string dir;
};

std::string nested(const std::string& name, std::size_t depth, const std::string& core) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += name + "(";
    }
    return text + core + std::string(depth, ')');
}

// Blank lines and lines that fail give empty lines; each failure is named on
// standard error and makes the status 1.
TEST_F(ToolTest, EveryInputGivesOneOutputLine) {
    EXPECT_EQ(run({"print"}, "plus( 1 , x )\n\nf()\n \t\r\nsin(pi)"),
              (Result{"plus(1,x)\n\n\n\nsin(pi)\n", "algexpr: line 3: does not read: f()\n", 1}));
    EXPECT_EQ(run({"print"}, ""), (Result{"", "", 0}));
    // Arguments are inputs; after "--", a leading dash starts an expression.
    EXPECT_EQ(run({"print", "-5", "f()", "", "--", "--x"}),
              (Result{"-5\n\n\n--x\n", "algexpr: argument 2: does not read: f()\n", 1}));
    // A byte order mark, letters of two to four bytes, U+2212 as a minus
    // sign, CRLF; then a line with a bad byte, then a good one.
    EXPECT_EQ(run({"print"}, "\uFEFFf(\u03b1,\U0001d465,\u20ac,\u22123)\r\nx\xC3\x28y\nz"),
              (Result{"f(\u03b1,\U0001d465,\u20ac,-3)\n\nz\n", "algexpr: line 2: invalid UTF-8 at byte 3\n", 1}));
    // So does output that cannot be written.
    EXPECT_EQ(run({"print", "x"}, "", "/dev/full"), (Result{"", "algexpr: error writing standard output\n", 1}));
}

TEST_F(ToolTest, EvalFoldsWhatItCanAndStrictAsksForNumbers) {
    EXPECT_EQ(run({"eval"}, "plus(x,times(2,3))\ndivide(2,3)\n\npower(2,64)\n"),
              (Result{"plus(x,6)\n0.6666666666666666\n\n18446744073709551616.0\n", "", 0}));
    EXPECT_EQ(run({"eval", "--strict", "plus(x,1)", "plus(1,1)"}),
              (Result{"\n2\n", "algexpr: argument 1: not a number: x: free symbol\n", 1}));
    // --digits and --float-format reach the floats, in either option form.
    EXPECT_EQ(run({"print", "--digits", "3", "f(0.333333,2)"}).out, "f(0.333,2)\n");
    EXPECT_EQ(run({"eval", "--float-format", "fixed", "--digits=2", "divide(2,3)"}).out, "0.67\n");
    EXPECT_EQ(run({"--float-format=Scientific", "print", "1500.0"}).out, "1.5e3\n");
    EXPECT_EQ(run({"subst", "--float-format", "engineering", "x", "0.00015", "f(x)"}).out, "f(150e-6)\n");
    EXPECT_EQ(run({"tree", "--float-format", "scientific", "--format", "json", "1500.0"}).out,
              "{\"kind\":\"float\",\"value\":\"1.5e3\"}\n");
}

TEST_F(ToolTest, SubstByNameByCoreNameAndByCodeAndInAPipe) {
    EXPECT_EQ(run({"subst", "x", "plus(y,1)", "times(x,x)"}).out, "times(plus(y,1),plus(y,1))\n");
    EXPECT_EQ(run({"subst", "pi", "3", "sin(pi)"}).out, "sin(3)\n");
    EXPECT_EQ(run({"subst", "--code", "13", "3", "sin(pi)"}).out, "sin(3)\n");
    const Result substituted = run({"subst", "x", "0.5"}, "plus(x,1)\n\nf(x)\ng(\n");
    EXPECT_EQ(substituted, (Result{"plus(0.5,1)\n\nf(0.5)\n\n", "algexpr: line 4: does not read: g(\n", 1}));
    EXPECT_EQ(run({"eval"}, substituted.out), (Result{"1.5\n\nf(0.5)\n\n", "", 0}));
}

// Text and dot give a block per expression and nothing for a failed line;
// JSON gives a line per input.
TEST_F(ToolTest, TreeAsTextJsonAndDot) {
    EXPECT_EQ(run({"tree", "plus(2,times(3,x),0.5)", "f()", "sin(pi)"}),
              (Result{"0 core-function plus code=0\n1 integer 2\n1 core-function times code=2\n2 integer 3\n"
                      "2 symbol x\n1 float 0.5\n\n0 core-function sin code=6\n1 core-symbol pi code=13\n",
                      "algexpr: argument 2: does not read: f()\n", 1}));
    EXPECT_EQ(run({"tree", "--format", "json"}, "f(\"a\\b\",1e999)\n\nf()\n"),
              (Result{"{\"kind\":\"function\",\"name\":\"f\",\"children\":[{\"kind\":\"symbol\",\"name\":"
                      "\"\\\"a\\\\b\\\"\"},{\"kind\":\"float\",\"value\":\"1e999\"}]}\n\n\n",
                      "algexpr: line 3: does not read: f()\n", 1}));
    EXPECT_EQ(run({"tree", "--format=dot", "f(x,2)"}).out,
              "digraph \"argument 1\" {\n  graph [ordering=out];\n  node [fontname=\"Helvetica\"];\n"
              "  n0 [label=\"f\", shape=ellipse];\n  n1 [label=\"x\", shape=plaintext];\n  n0 -> n1;\n"
              "  n2 [label=\"2\", shape=box];\n  n0 -> n2;\n}\n");
}

TEST_F(ToolTest, CoreNamesFileReplacesTheVocabulary) {
    std::ofstream(dir + "names") << "# mine\nadd\n\n  sin \r\n";
    const std::string names = "--core-names=" + dir + "names";
    EXPECT_EQ(run({names, "tree", "add(1,plus)"}).out, "0 core-function add code=0\n1 integer 1\n1 symbol plus\n");
    // The engine knows sin but not add, and plus is an ordinary name now.
    EXPECT_EQ(run({"eval", names, "add(sin(0),plus(1,2))"}).out, "add(0.0,plus(1,2))\n");
    for (const char* content : {"a\na\n", "f(x)\n", "a b\n", "\xC3\x28\n"}) {
        std::ofstream(dir + "bad") << content;
        const Result r = run({"--core-names", dir + "bad", "print", "x"});
        EXPECT_EQ(r.status, 2) << content;
        EXPECT_EQ(r.out, "") << content;
        EXPECT_NE(r.err.find("bad:"), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({"--core-names", dir + "missing", "print", "x"}).status, 2);
}

// (CommandLineTest has the messages.)
TEST_F(ToolTest, UsageErrorsExitTwoWithoutOutput) {
    for (const char* line : {"", "frobnicate", "print --bogus", "print --digits x", "print --format standard",
                             "print --strict", "subst x", "subst x f() x"}) {
        std::istringstream words(line);
        const Result r = run({std::istream_iterator<std::string>(words), {}}, "x\n");
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err.rfind("algexpr: ", 0), 0u) << line << r.err;
    }
    EXPECT_EQ(run({"eval", "--format", "fixed", "x"}).err,
              "algexpr: --format is the tree's form (text, json or dot); for the float form write --float-format "
              "fixed\nTry 'algexpr --help'.\n");
}

// The general help, a command's own, and the version.
TEST_F(ToolTest, HelpAndVersion) {
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: algexpr [OPTION...]", 0), 0u);
    EXPECT_NE(help.out.find("\n  --float-format F "), std::string::npos);
    EXPECT_EQ(run({"tree", "--help"}).out.rfind("Usage: algexpr tree [--format text|json|dot]", 0), 0u);
    EXPECT_EQ(run({"eval", "-h"}).out.rfind("Usage: algexpr eval", 0), 0u);
    const Result version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(::testing::internal::RE::FullMatch(version.out, "algexpr [0-9]+\\.[0-9]+\\.[0-9]+\n")) << version.out;
}

TEST_F(ToolTest, AMillionLevelsDeepThroughEveryCommand) {
    const std::size_t n = 1000000;
    const std::string fs = nested("f", n, "x");
    const std::string input = nested("neg", n, "1") + "\n" + nested("f", n, "times(x,plus(1,1))") + "\n";
    EXPECT_EQ(run({"print"}, input), (Result{input, "", 0}));
    EXPECT_EQ(run({"eval"}, input), (Result{"1\n" + nested("f", n, "times(x,2)") + "\n", "", 0}));
    EXPECT_EQ(run({"subst", "x", "y"}, fs), (Result{nested("f", n, "y") + "\n", "", 0}));

    std::string text, json, close;
    for (std::size_t i = 0; i < n; ++i) {
        text += std::to_string(i) + " function f\n";
        json += "{\"kind\":\"function\",\"name\":\"f\",\"children\":[";
        close += "]}";
    }
    EXPECT_EQ(run({"tree"}, fs), (Result{text + "1000000 symbol x\n", "", 0}));
    EXPECT_EQ(run({"tree", "--format", "json"}, fs),
              (Result{json + "{\"kind\":\"symbol\",\"name\":\"x\"}" + close + "\n", "", 0}));
    EXPECT_NE(run({"tree", "--format", "dot"}, fs).out.find("  n999999 -> n1000000;\n}\n"), std::string::npos);
}

}  // namespace
