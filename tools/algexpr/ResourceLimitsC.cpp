// SPDX-License-Identifier: MIT
#include "ResourceLimitsC.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ALGEXPR_TOOL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ALGEXPR_TOOL_SANITIZED 1
#endif
#endif

namespace qorv::math::algexpr::cli {

namespace {

constexpr std::uint64_t kMaxWhole = (std::uint64_t{1} << 62) / 1000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at `at` as a number, at most kMaxWhole; false when there are
// none or too many.
bool whole(const std::string& text, std::size_t& at, std::uint64_t& value) {
    const std::size_t first = at;
    value = 0;
    while (at < text.size() && isDigit(text[at])) {
        value = value * 10 + static_cast<std::uint64_t>(text[at++] - '0');
        if (value > kMaxWhole) {
            return false;
        }
    }
    return at > first;
}

// The shift of a binary unit letter, or -1.
int unitShift(char c) {
    switch (c) {
        case 'k':
        case 'K':
            return 10;
        case 'm':
        case 'M':
            return 20;
        case 'g':
        case 'G':
            return 30;
        case 't':
        case 'T':
            return 40;
        default:
            return -1;
    }
}

// The address space of this process in bytes, 0 when unknown.
std::uint64_t addressSpace() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 0;
    }
    char line[256];
    unsigned long long kib = 0;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmSize:", 7) == 0 && std::sscanf(line + 7, "%llu", &kib) == 1) {
            break;
        }
    }
    std::fclose(status);
    return static_cast<std::uint64_t>(kib) * 1024;
}

}  // namespace

bool ResourceLimitsC::parseSeconds(const std::string& text, std::uint64_t& ms) {
    std::size_t at = 0;
    std::uint64_t seconds = 0;
    if (!whole(text, at, seconds)) {
        return false;
    }
    std::uint64_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        const std::size_t first = ++at;
        for (std::size_t place = 0; place < 3; ++place) {
            fraction = fraction * 10 + (at < text.size() && isDigit(text[at]) ? static_cast<std::uint64_t>(text[at++] - '0') : 0);
        }
        if (at == first) {
            return false;
        }
    }
    if (at != text.size()) {
        return false;
    }
    ms = seconds * 1000 + fraction;
    return true;
}

bool ResourceLimitsC::parseSize(const std::string& text, std::uint64_t& bytes) {
    std::size_t at = 0;
    std::uint64_t count = 0;
    if (!whole(text, at, count)) {
        return false;
    }
    int shift = 0;
    if (at < text.size()) {
        shift = unitShift(text[at++]);
        const std::string rest = text.substr(at);
        if (shift < 0 || !(rest.empty() || rest == "B" || rest == "b" || rest == "iB" || rest == "ib")) {
            return false;
        }
    } else if (count > (std::uint64_t{1} << 62)) {
        return false;
    }
    if (count > (std::uint64_t{1} << 62) >> shift) {
        return false;
    }
    bytes = count << shift;
    return true;
}

std::string ResourceLimitsC::describeSeconds(std::uint64_t ms) {
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%03u", static_cast<unsigned>(ms % 1000));
        text += fraction;
        text.erase(text.find_last_not_of('0') + 1);
    }
    return text + " s";
}

std::string ResourceLimitsC::describeSize(std::uint64_t bytes) {
    const struct {
        int shift;
        const char* name;
    } kUnits[] = {{40, "TiB"}, {30, "GiB"}, {20, "MiB"}, {10, "KiB"}};
    for (const auto& unit : kUnits) {
        const std::uint64_t one = std::uint64_t{1} << unit.shift;
        if (bytes >= one) {
            std::string text = std::to_string(bytes >> unit.shift);
            const std::uint64_t tenths = ((bytes & (one - 1)) * 10) >> unit.shift;
            if (tenths != 0) {
                text += "." + std::to_string(tenths);
            }
            return text + " " + unit.name;
        }
    }
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::uint64_t ResourceLimitsC::defaultMaxMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page <= 0) {
        return std::uint64_t{2} << 30;
    }
    const std::uint64_t half = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page) / 2;
    const int shift = half >= (std::uint64_t{2} << 30) ? 30 : 20;
    return std::max(half >> shift << shift, kMinMemory);
}

const char* ResourceLimitsC::memoryCapUnavailable() {
#ifdef ALGEXPR_TOOL_SANITIZED
    return "this algexpr is built with a sanitizer, which reserves more address space than any cap on it allows";
#else
    return nullptr;
#endif
}

void ResourceLimitsC::prepareCap() {
#ifdef M_ARENA_MAX
    ::mallopt(M_ARENA_MAX, 1);
#endif
}

bool ResourceLimitsC::capMemory(std::uint64_t bytes) {
    const std::uint64_t held = addressSpace();
    rlimit limit{};
    if (memoryCapUnavailable() != nullptr || held == 0 || ::getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    const std::uint64_t cap = held + std::min(bytes, ~std::uint64_t{0} - held);
    if (limit.rlim_cur != RLIM_INFINITY && cap >= limit.rlim_cur) {
        return true;  // a lower limit is in place already: it stays
    }
    limit.rlim_cur = static_cast<rlim_t>(cap);
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace qorv::math::algexpr::cli
