// SPDX-License-Identifier: MIT
// DoubleValueFactoryC: makes DoubleValueC floats, for a session whose
// floats are doubles. Each value it answers is new and the caller's; null
// when memory runs out or (fromString) the text is no float.
#ifndef ALGEXPR_CLIENTS_SUPPORT_DOUBLEVALUEFACTORYC_H
#define ALGEXPR_CLIENTS_SUPPORT_DOUBLEVALUEFACTORYC_H

#include <cstdint>
#include <string>

#include "algexpr/FloatValueFactoryABC.h"

namespace qorv::math::algexpr::support {

class DoubleValueFactoryC final : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override;
    FloatValueABC* fromDouble(double value) override;
    FloatValueABC* fromInt64(std::int64_t value) override;
    FloatValueABC* zero() override;
};

}  // namespace qorv::math::algexpr::support

#endif
