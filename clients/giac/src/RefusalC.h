// SPDX-License-Identifier: MIT
// RefusalC: what the engine's own checks throw when an expression cannot be
// evaluated or a result cannot be written (a limit, a misused operation, a
// result with no value); caught at the engine's boundary, where its text
// becomes the reason of the null result.
#ifndef ALGEXPR_GIAC_SRC_REFUSALC_H
#define ALGEXPR_GIAC_SRC_REFUSALC_H

#include <string>
#include <utility>

namespace qorv::math::algexpr::giac::detail {

class RefusalC {
public:
    explicit RefusalC(std::u16string reason) : text(std::move(reason)) {}
    const std::u16string& reason() const { return text; }

private:
    std::u16string text;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
