// SPDX-License-Identifier: MIT
#include "algexpr/ReadResultC.h"

#include <new>
#include <utility>

namespace qorv::math::algexpr {

ReadResultC::ReadResultC(ReasonE reason, std::size_t position) noexcept : reason_e(reason), position_n(position) {}

ReadResultC::ReadResultC() noexcept : ReadResultC(failure(ReasonE::NoSession, kNoPosition, "no session is current")) {}

ReadResultC ReadResultC::success(qorv::oss::PointerTC<AlgebraicExpressionC> expression) noexcept {
    ReadResultC result(ReasonE::None, kNoPosition);
    result.tree_p = std::move(expression);
    return result;
}

ReadResultC ReadResultC::failure(ReasonE reason, std::size_t position, const char* message) noexcept {
    ReadResultC result(reason, position);
    try {
        result.message_s = message;
    } catch (const std::bad_alloc&) {
    }
    return result;
}

ReadResultC ReadResultC::failure(ReasonE reason, std::size_t position, std::string message) noexcept {
    ReadResultC result(reason, position);
    result.message_s = std::move(message);
    return result;
}

bool ReadResultC::ok() const noexcept { return reason_e == ReasonE::None; }

const qorv::oss::PointerTC<AlgebraicExpressionC>& ReadResultC::tree() const noexcept { return tree_p; }

ReadResultC::ReasonE ReadResultC::reason() const noexcept { return reason_e; }

std::size_t ReadResultC::position() const noexcept { return position_n; }

const std::string& ReadResultC::message() const noexcept { return message_s; }

}  // namespace qorv::math::algexpr
