// SPDX-License-Identifier: MIT
// RefusalC: what the engine's own checks throw when an expression cannot be
// evaluated (a limit, a misused operation); caught at the engine's boundary,
// where its text becomes the reason of the null result.
#ifndef ALGEXPR_GINAC_SRC_REFUSALC_H
#define ALGEXPR_GINAC_SRC_REFUSALC_H

#include <string>
#include <utility>

namespace qorv::math::algexpr::ginac::detail {

class RefusalC {
public:
    explicit RefusalC(std::u16string reason) : text(std::move(reason)) {}
    const std::u16string& reason() const { return text; }

private:
    std::u16string text;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
