// The algexpr tool end to end: each test spawns the binary with arguments
// and standard input, and checks standard output, standard error and the
// exit status.
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    std::string out;
    std::string err;
    int status;
};

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "algexpr-tool-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    static void write(const std::string& file, const std::string& content) {
        std::ofstream(file, std::ios::binary) << content;
    }

    static std::string slurp(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Runs the tool; standard output goes to `out_file` when one is given.
    Result run(const std::vector<std::string>& arguments, const std::string& input = "",
               const std::string& out_file = "") {
        write(path("stdin"), input);
        const std::string out = out_file.empty() ? path("stdout") : out_file;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, path("stdin").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> words{ALGEXPR_TOOL};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, ALGEXPR_TOOL, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Result result{"", "", -1};
        if (spawned != 0) {
            ADD_FAILURE() << "cannot run " << ALGEXPR_TOOL;
            return result;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = out_file.empty() ? slurp(path("stdout")) : "";
        result.err = slurp(path("stderr"));
        return result;
    }

    std::string dir;
};

std::string nested(const std::string& name, std::size_t depth, const std::string& core) {
    std::string text;
    text.reserve(depth * (name.size() + 2) + core.size());
    for (std::size_t i = 0; i < depth; ++i) {
        text += name;
        text += '(';
    }
    return text + core + std::string(depth, ')');
}

TEST_F(ToolTest, EveryInputLineGivesOneOutputLine) {
    const Result r = run({"print"}, "plus( 1 , x )\n\nf()\n \t\r\nsin(pi)");
    EXPECT_EQ(r.out, "plus(1,x)\n\n\n\nsin(pi)\n");
    EXPECT_EQ(r.err, "algexpr: line 3: does not read: f()\n");
    EXPECT_EQ(r.status, 1);

    const Result empty = run({"print"}, "");
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.status, 0);
}

TEST_F(ToolTest, ArgumentsAreInputsAndDashesStartExpressions) {
    const Result r = run({"print", "-5", "f()", "", "--", "--x"});
    EXPECT_EQ(r.out, "-5\n\n\n--x\n");
    EXPECT_EQ(r.err, "algexpr: argument 2: does not read: f()\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ToolTest, Utf8InAndOutWithInvalidLinesNamed) {
    // A byte order mark, Greek and mathematical letters, U+2212 as a minus
    // sign, CRLF; then a line with a bad byte, then a good one.
    const Result r = run({"print"},
                         "\xEF\xBB\xBF"
                         "f(\xCE\xB1,\xF0\x9D\x91\xA5,\xE2\x88\x92"
                         "3)\r\nx\xC3\x28y\nz");
    EXPECT_EQ(r.out, "f(\xCE\xB1,\xF0\x9D\x91\xA5,-3)\n\nz\n");
    EXPECT_EQ(r.err, "algexpr: line 2: invalid UTF-8 at byte 3\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ToolTest, EvalFoldsWhatItCanAndStrictAsksForNumbers) {
    Result r = run({"eval"}, "plus(x,times(2,3))\ndivide(2,3)\n\npower(2,64)\n");
    EXPECT_EQ(r.out, "plus(x,6)\n0.6666666666666666\n\n18446744073709551616.0\n");
    EXPECT_EQ(r.status, 0);

    r = run({"eval", "--strict", "plus(x,1)", "plus(1,1)"});
    EXPECT_EQ(r.out, "\n2\n");
    EXPECT_EQ(r.err, "algexpr: argument 1: not a number: x: free symbol\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ToolTest, DigitsAndFormatReachTheFloats) {
    EXPECT_EQ(run({"print", "--digits", "3", "f(0.333333,2)"}).out, "f(0.333,2)\n");
    EXPECT_EQ(run({"eval", "--format", "fixed", "--digits=2", "divide(2,3)"}).out, "0.67\n");
    EXPECT_EQ(run({"--format=Scientific", "print", "1500.0"}).out, "1.5e3\n");
    EXPECT_EQ(run({"print", "--format", "engineering", "0.00015"}).out, "150e-6\n");
}

TEST_F(ToolTest, SubstByNameByCoreNameAndByCodeAndInAPipe) {
    EXPECT_EQ(run({"subst", "x", "plus(y,1)", "times(x,x)"}).out, "times(plus(y,1),plus(y,1))\n");
    EXPECT_EQ(run({"subst", "pi", "3", "sin(pi)"}).out, "sin(3)\n");
    EXPECT_EQ(run({"subst", "--code", "13", "3", "sin(pi)"}).out, "sin(3)\n");

    const Result substituted = run({"subst", "x", "0.5"}, "plus(x,1)\n\nf(x)\ng(\n");
    EXPECT_EQ(substituted.out, "plus(0.5,1)\n\nf(0.5)\n\n");
    EXPECT_EQ(substituted.status, 1);
    const Result evaluated = run({"eval"}, substituted.out);
    EXPECT_EQ(evaluated.out, "1.5\n\nf(0.5)\n\n");
    EXPECT_EQ(evaluated.status, 0);
}

TEST_F(ToolTest, TreeAsTextJsonAndDot) {
    Result r = run({"tree", "plus(2,times(3,x),0.5)", "f()", "sin(pi)"});
    EXPECT_EQ(r.out,
              "0 core-function plus code=0\n"
              "1 integer 2\n"
              "1 core-function times code=2\n"
              "2 integer 3\n"
              "2 symbol x\n"
              "1 float 0.5\n"
              "\n"
              "0 core-function sin code=6\n"
              "1 core-symbol pi code=13\n");
    EXPECT_EQ(r.status, 1);

    r = run({"tree", "--format", "json"}, "f(\"a\\b\",1e999)\n\nf()\n");
    EXPECT_EQ(r.out,
              "{\"kind\":\"function\",\"name\":\"f\",\"children\":[{\"kind\":\"symbol\",\"name\":\"\\\"a\\\\b\\\"\"},"
              "{\"kind\":\"float\",\"value\":\"1e999\"}]}\n\n\n");
    EXPECT_EQ(r.status, 1);

    r = run({"tree", "--format=dot", "f(x,2)"});
    EXPECT_EQ(r.out,
              "digraph \"argument 1\" {\n"
              "  graph [ordering=out];\n"
              "  node [fontname=\"Helvetica\"];\n"
              "  n0 [label=\"f\", shape=ellipse];\n"
              "  n1 [label=\"x\", shape=plaintext];\n"
              "  n0 -> n1;\n"
              "  n2 [label=\"2\", shape=box];\n"
              "  n0 -> n2;\n"
              "}\n");
}

TEST_F(ToolTest, CoreNamesFileReplacesTheVocabulary) {
    write(path("names"), "# mine\nadd\n\n  sin \r\n");
    const std::string names = "--core-names=" + path("names");
    EXPECT_EQ(run({names, "tree", "add(1,plus)"}).out, "0 core-function add code=0\n1 integer 1\n1 symbol plus\n");
    // The engine knows sin but not add, and plus is an ordinary name now.
    EXPECT_EQ(run({"eval", names, "add(sin(0),plus(1,2))"}).out, "add(0.0,plus(1,2))\n");

    for (const char* content : {"a\na\n", "f(x)\n", "a b\n", "\xC3\x28\n"}) {
        write(path("bad"), content);
        const Result r = run({"--core-names", path("bad"), "print", "x"});
        EXPECT_EQ(r.status, 2) << content;
        EXPECT_EQ(r.out, "") << content;
        EXPECT_NE(r.err.find("bad:"), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({"--core-names", path("missing"), "print", "x"}).status, 2);
}

TEST_F(ToolTest, UsageErrorsExitTwoWithoutOutput) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"print", "--bogus"},
        {"print", "--digits", "x"},
        {"print", "--digits", "-1"},
        {"print", "--digits"},
        {"print", "--format", "json"},
        {"print", "--format", "purple"},
        {"print", "--strict"},
        {"eval", "--code", "1"},
        {"print", "--version=2"},
        {"subst", "x"},
        {"subst", "--code", "z", "1"},
        {"subst", "x", "f()", "x"},
    };
    for (const auto& arguments : cases) {
        const Result r = run(arguments, "x\n");
        std::string shown;
        for (const std::string& a : arguments) {
            shown += a + " ";
        }
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(r.err.rfind("algexpr: ", 0), 0u) << shown << r.err;
    }
}

TEST_F(ToolTest, HelpAndVersion) {
    Result r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: algexpr"), std::string::npos);
    EXPECT_NE(run({"eval", "--help"}).out.find("--strict"), std::string::npos);
    EXPECT_NE(run({"tree", "-h"}).out.find("dot -Tpng"), std::string::npos);
    r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(::testing::internal::RE::FullMatch(r.out, "algexpr [0-9]+\\.[0-9]+\\.[0-9]+\n")) << r.out;
}

TEST_F(ToolTest, AFailedWriteIsAFailure) {
    const Result r = run({"print", "x"}, "", "/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "algexpr: error writing standard output\n");
}

TEST_F(ToolTest, AMillionLevelsDeepThroughEveryCommand) {
    const std::size_t n = 1000000;
    const std::string negs = nested("neg", n, "1");
    const std::string fs = nested("f", n, "x");
    const std::string input = negs + "\n" + fs + "\n";

    EXPECT_EQ(run({"print"}, input).out, input);
    EXPECT_EQ(run({"eval"}, input).out, "1\n" + fs + "\n");
    EXPECT_EQ(run({"subst", "x", "y"}, fs).out, nested("f", n, "y") + "\n");

    Result r = run({"tree"}, fs);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("999999 function f\n1000000 symbol x\n"), r.out.size() - 35);

    r = run({"tree", "--format", "json"}, fs);
    const std::string leaf = "{\"kind\":\"symbol\",\"name\":\"x\"}";
    EXPECT_EQ(r.out.size(),
              n * (std::string("{\"kind\":\"function\",\"name\":\"f\",\"children\":[]}").size()) + leaf.size() + 1);
    EXPECT_NE(r.out.find(leaf + "]}]}"), std::string::npos);

    r = run({"tree", "--format", "dot"}, fs);
    EXPECT_NE(r.out.find("  n999999 -> n1000000;\n}\n"), std::string::npos);
}

}  // namespace
