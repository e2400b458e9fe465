// SPDX-License-Identifier: MIT
// ProgressC: which input the worker process is evaluating, and since when,
// in a page of memory that the tool and its workers share (mapped before the
// tool forks them). The worker marks each input as it starts and ends it; the
// tool reads the mark to know whose time runs, and which input to blame when
// it kills the worker or the worker dies. The tool owns it; a forked worker
// uses the same page. Times are CLOCK_MONOTONIC, which all processes share.
//
//   progress.begin(7);  ...evaluate line 7...  progress.end();   // worker
//   ProgressC::MarkS mark = progress.read();  // tool: mark.number 7 or 0
#ifndef ALGEXPR_TOOL_PROGRESSC_H
#define ALGEXPR_TOOL_PROGRESSC_H

#include <cstdint>

namespace qorv::math::algexpr::cli {

class ProgressC {
public:
    /// Maps the page; valid() tells whether that worked.
    ProgressC();
    ~ProgressC();
    ProgressC(const ProgressC&) = delete;
    ProgressC& operator=(const ProgressC&) = delete;

    bool valid() const;

    /// The input in progress (0: none) and when it started.
    struct MarkS {
        std::uint64_t number = 0;
        std::int64_t started_ns = 0;
    };

    /// In the worker: input `number` (not 0) starts now; it has ended.
    void begin(std::uint64_t number);
    void end();
    /// In the tool: the mark as it stands. When the worker moves on while it
    /// is read, the time is the latest it can be, never earlier than the truth.
    MarkS read() const;

    /// In the worker: its memory cap could not be set. In the tool: whether
    /// a worker said so (its running out of memory is then no sign of the
    /// cap).
    void setUncapped();
    bool uncapped() const;

    /// Nanoseconds on CLOCK_MONOTONIC.
    static std::int64_t now();

private:
    struct PageS;
    PageS* page_p;
};

}  // namespace qorv::math::algexpr::cli

#endif
