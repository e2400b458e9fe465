// SPDX-License-Identifier: MIT
// The algexpr tool run as a separate process: ToolFixture spawns the binary
// with arguments and standard input and collects standard output, standard
// error and the exit status. Each fixture puts its engine option first.
#ifndef ALGEXPR_TESTS_TOOL_TOOLFIXTURE_H
#define ALGEXPR_TESTS_TOOL_TOOLFIXTURE_H

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

extern char** environ;

namespace tool_tests {

struct Result {
    std::string out, err;
    int status;
    bool operator==(const Result& r) const { return out == r.out && err == r.err && status == r.status; }
};

inline void PrintTo(const Result& r, std::ostream* os) {
    *os << "status " << r.status << ", out " << ::testing::PrintToString(r.out.substr(0, 300)) << ", err "
        << ::testing::PrintToString(r.err.substr(0, 2000));
}

class ToolFixture : public ::testing::Test {
protected:
    /// `engine`: the words put before every command line ("--engine=numeric").
    explicit ToolFixture(std::vector<std::string> engine) : engine(std::move(engine)) {}

    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "algexpr-tool-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern + "/";
    }

    void TearDown() override {
        if (!dir.empty()) {
            std::filesystem::remove_all(dir);
        }
    }

    static std::string slurp(const std::string& file) {
        std::ostringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    }

    // Runs the tool; standard output goes to `out_file` when one is given.
    Result run(std::vector<std::string> words, const std::string& input = "", const std::string& out_file = "") {
        return collect(start(std::move(words), input, out_file), out_file);
    }

    // Starts the tool without waiting for it; collect() waits.
    pid_t start(std::vector<std::string> words, const std::string& input = "", const std::string& out_file = "") {
        const std::string in = dir + "in", out = out_file.empty() ? dir + "out" : out_file, err = dir + "err";
        std::ofstream(in, std::ios::binary) << input;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        words.insert(words.begin(), engine.begin(), engine.end());
        words.insert(words.begin(), ALGEXPR_TOOL);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, ALGEXPR_TOOL, &actions, nullptr, argv.data(), environ), 0) << ALGEXPR_TOOL;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    Result collect(pid_t pid, const std::string& out_file = "") {
        int status = -1;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        return Result{out_file.empty() ? slurp(dir + "out") : "", slurp(dir + "err"),
                      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
    }

    std::string dir;
    std::vector<std::string> engine;
};

inline std::string nested(const std::string& name, std::size_t depth, const std::string& core) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += name + "(";
    }
    return text + core + std::string(depth, ')');
}

// The first line of each message, one per failed input.
inline std::vector<std::string> firstLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("algexpr: ", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace tool_tests

#endif
