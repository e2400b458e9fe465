#include "BenchIntegerValueC.h"

namespace qorv::math::algexpr::bench {

BenchIntegerValueC::BenchIntegerValueC(std::int64_t value) : value(value) {}

BenchIntegerValueC::~BenchIntegerValueC() = default;

std::int64_t BenchIntegerValueC::getValue() const { return value; }

void BenchIntegerValueC::setValue(std::int64_t value) { this->value = value; }

std::u16string BenchIntegerValueC::toString() {
    char16_t digits[24];
    char16_t* first = digits + sizeof digits / sizeof digits[0];
    // The magnitude in unsigned arithmetic, so that INT64_MIN needs no case.
    std::uint64_t magnitude = value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--first = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--first = u'-';
    }
    return std::u16string(first, digits + sizeof digits / sizeof digits[0]);
}

IntegerValueABC* BenchIntegerValueC::clone() { return new BenchIntegerValueC(value); }

}  // namespace qorv::math::algexpr::bench
