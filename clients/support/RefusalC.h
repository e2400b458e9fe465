// SPDX-License-Identifier: MIT
// RefusalC: what the engine clients' own checks throw when an expression
// cannot be evaluated or its result cannot be written (a limit, a misused
// operation, a result without meaning in the vocabulary); caught at the
// engine's boundary, where its text becomes the reason of the null result.
#ifndef ALGEXPR_CLIENTS_SUPPORT_REFUSALC_H
#define ALGEXPR_CLIENTS_SUPPORT_REFUSALC_H

#include <string>
#include <utility>

namespace qorv::math::algexpr::support {

class RefusalC {
public:
    explicit RefusalC(std::u16string reason) : text(std::move(reason)) {}
    const std::u16string& reason() const { return text; }

private:
    std::u16string text;
};

}  // namespace qorv::math::algexpr::support

#endif
