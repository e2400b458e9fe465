// SPDX-License-Identifier: MIT
// ResourceLimitsC: the limits the tool puts on each evaluation, --timeout
// SECONDS and --max-memory SIZE: reading them, writing them in messages,
// their defaults, and the memory cap itself, set in the worker process.
// Static functions on plain values.
//
//   std::uint64_t bytes = 0;
//   ResourceLimitsC::parseSize("2G", bytes);   // 2147483648
//   ResourceLimitsC::describeSize(bytes);       // "2 GiB"
#ifndef ALGEXPR_TOOL_RESOURCELIMITSC_H
#define ALGEXPR_TOOL_RESOURCELIMITSC_H

#include <cstdint>
#include <string>

namespace qorv::math::algexpr::cli {

class ResourceLimitsC {
public:
    /// --timeout's default: a minute.
    static constexpr std::uint64_t kDefaultTimeoutMs = 60000;
    /// Whole megabytes at least, when not 0.
    static constexpr std::uint64_t kMinMemory = std::uint64_t{1} << 20;

    /// Seconds, "10", "0.5" or "0", with at most three decimals, into
    /// milliseconds; false for anything else.
    static bool parseSeconds(const std::string& text, std::uint64_t& ms);
    /// A size, "2G", "512M", "64k", "2GiB" or "1048576" (bytes): a whole
    /// number and a binary unit K, M, G or T (any case, "B" or "iB" after it
    /// allowed); false for anything else.
    static bool parseSize(const std::string& text, std::uint64_t& bytes);
    /// "10 s", "0.25 s".
    static std::string describeSeconds(std::uint64_t ms);
    /// "2 GiB", "1.5 GiB" (rounded down), "100 bytes".
    static std::string describeSize(std::uint64_t bytes);

    /// --max-memory's default: half the machine's physical memory, rounded
    /// down to whole GiB (to whole MiB below 2 GiB).
    static std::uint64_t defaultMaxMemory();
    /// Null when this build can cap memory; else why not (AddressSanitizer
    /// and ThreadSanitizer reserve terabytes of address space, more than any
    /// cap on it allows).
    static const char* memoryCapUnavailable();
    /// Before the process's threads allocate: one malloc arena for all of
    /// them, so that the cap counts memory put to use. (Each further arena
    /// reserves 64 MiB of address space, which would count as held by the
    /// time the cap is set, however little of it the arena uses then.)
    static void prepareCap();
    /// Caps this process's address space (RLIMIT_AS) at what it holds now
    /// plus `bytes`, unless a lower limit is in place (ulimit -v), which
    /// stays; false when it cannot.
    static bool capMemory(std::uint64_t bytes);
};

}  // namespace qorv::math::algexpr::cli

#endif
