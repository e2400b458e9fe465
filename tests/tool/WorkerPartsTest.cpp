// SPDX-License-Identifier: MIT
// The worker process's parts, in process: the limits as they are read and
// written in messages, and the protocol's framing, which must hold an answer
// back until all of it has arrived.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResourceLimitsC.h"
#include "WorkerProtocolC.h"

using qorv::math::algexpr::cli::ResourceLimitsC;
using qorv::math::algexpr::cli::WorkerProtocolC;

namespace {

TEST(ResourceLimitsTest, SecondsReadAndWrittenInMilliseconds) {
    const struct {
        const char* text;
        std::uint64_t ms;
        const char* written;
    } good[] = {{"10", 10000, "10 s"}, {"0.5", 500, "0.5 s"}, {"1.25", 1250, "1.25 s"},
                {"0", 0, "0 s"},      {"0.001", 1, "0.001 s"}, {"007.100", 7100, "7.1 s"}};
    for (const auto& row : good) {
        std::uint64_t ms = 99;
        EXPECT_TRUE(ResourceLimitsC::parseSeconds(row.text, ms)) << row.text;
        EXPECT_EQ(ms, row.ms) << row.text;
        EXPECT_EQ(ResourceLimitsC::describeSeconds(row.ms), row.written);
    }
    for (const char* bad : {"", "-1", "1.", ".5", "0.0001", "1e3", "ten", "1 ", "99999999999999999999"}) {
        std::uint64_t ms = 0;
        EXPECT_FALSE(ResourceLimitsC::parseSeconds(bad, ms)) << bad;
    }
}

TEST(ResourceLimitsTest, SizesInBinaryUnits) {
    const struct {
        const char* text;
        std::uint64_t bytes;
    } good[] = {{"2G", std::uint64_t{2} << 30}, {"512m", std::uint64_t{512} << 20}, {"64KiB", 64 << 10},
                {"1T", std::uint64_t{1} << 40}, {"1048576", 1048576},            {"3gb", std::uint64_t{3} << 30},
                {"0", 0}};
    for (const auto& row : good) {
        std::uint64_t bytes = 99;
        EXPECT_TRUE(ResourceLimitsC::parseSize(row.text, bytes)) << row.text;
        EXPECT_EQ(bytes, row.bytes) << row.text;
    }
    for (const char* bad : {"", "G", "2X", "2GG", "2Gx", "-1M", "1.5G", "2 G", "99999999999T"}) {
        std::uint64_t bytes = 0;
        EXPECT_FALSE(ResourceLimitsC::parseSize(bad, bytes)) << bad;
    }
    EXPECT_EQ(ResourceLimitsC::describeSize(std::uint64_t{2} << 30), "2 GiB");
    EXPECT_EQ(ResourceLimitsC::describeSize((std::uint64_t{3} << 29) + 1), "1.5 GiB");  // rounded down
    EXPECT_EQ(ResourceLimitsC::describeSize((std::uint64_t{2} << 30) - 1), "1.9 GiB");
    EXPECT_EQ(ResourceLimitsC::describeSize(std::uint64_t{24} << 20), "24 MiB");
    EXPECT_EQ(ResourceLimitsC::describeSize(1536), "1.5 KiB");
    EXPECT_EQ(ResourceLimitsC::describeSize(1023), "1023 bytes");
    EXPECT_EQ(ResourceLimitsC::describeSize(std::uint64_t{5} << 40), "5 TiB");
    const std::uint64_t fallback = ResourceLimitsC::defaultMaxMemory();
    EXPECT_GE(fallback, ResourceLimitsC::kMinMemory);
    EXPECT_EQ(fallback % ResourceLimitsC::kMinMemory, 0u);
}

TEST(WorkerProtocolTest, RequestsAndRepliesComeWholeOrNotAtAll) {
    std::string requests;
    WorkerProtocolC::appendRequest(requests, 7, "plus(1,2)");
    WorkerProtocolC::appendRequest(requests, 8, "");
    WorkerProtocolC::appendRequest(requests, 9, std::string("a\0b\n", 4));
    for (std::size_t cut = 0; cut <= requests.size(); ++cut) {
        const std::string arrived = requests.substr(0, cut);
        std::size_t at = 0;
        std::vector<WorkerProtocolC::RequestS> taken;
        for (WorkerProtocolC::RequestS request; WorkerProtocolC::takeRequest(arrived, at, request);) {
            taken.push_back(request);
        }
        ASSERT_LE(at, cut);
        if (cut == requests.size()) {
            ASSERT_EQ(taken.size(), 3u);
            EXPECT_EQ(taken[0].number, 7u);
            EXPECT_EQ(taken[0].text, "plus(1,2)");
            EXPECT_EQ(taken[1].number, 8u);
            EXPECT_EQ(taken[1].text, "");
            EXPECT_EQ(taken[2].text, std::string("a\0b\n", 4));
            EXPECT_EQ(at, cut);
        }
    }

    std::string replies;
    std::size_t start = WorkerProtocolC::startReply(replies, 41);
    replies += "3\n";
    WorkerProtocolC::finishReply(replies, start, true, "", "");
    start = WorkerProtocolC::startReply(replies, 42);
    replies += "half an output";
    WorkerProtocolC::finishReply(replies, start, false, "line 42: cannot evaluate: division by zero",
                                 "algexpr: line 42, column 1: warning: unknown function 'sinn'\n");
    for (std::size_t cut = 0; cut < replies.size(); ++cut) {
        std::size_t at = 0;
        WorkerProtocolC::ReplyS reply;
        const std::string arrived = replies.substr(0, cut);
        const int whole = WorkerProtocolC::takeReply(arrived, at, reply) + WorkerProtocolC::takeReply(arrived, at, reply);
        EXPECT_LT(whole, 2) << cut;
    }
    std::size_t at = 0;
    WorkerProtocolC::ReplyS first, second;
    ASSERT_TRUE(WorkerProtocolC::takeReply(replies, at, first));
    ASSERT_TRUE(WorkerProtocolC::takeReply(replies, at, second));
    EXPECT_EQ(at, replies.size());
    EXPECT_TRUE(first.number == 41 && first.ok && first.text == "3\n");
    EXPECT_TRUE(second.number == 42 && !second.ok && second.text == "line 42: cannot evaluate: division by zero");
    EXPECT_TRUE(first.warnings.empty());
    EXPECT_EQ(second.warnings, "algexpr: line 42, column 1: warning: unknown function 'sinn'\n");
}

}  // namespace
