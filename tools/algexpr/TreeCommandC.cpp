// SPDX-License-Identifier: MIT
#include "TreeCommandC.h"

#include "algexpr/AlgebraicExpressionC.h"

namespace qorv::math::algexpr::cli {

TreeCommandC::TreeCommandC(TreeWriterC::FormatE format, unsigned long digits,
                           qorv::math::NumberDisplayFormatE float_format)
    : format(format), writer(format, digits, float_format) {}

bool TreeCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC& place, std::string& out, std::string&) {
    if (format == TreeWriterC::FormatE::Text && blocks > 0) {
        out += '\n';
    }
    ++blocks;
    writer.write(*expression.getNode(), place.describe(), out);
    if (format == TreeWriterC::FormatE::Json) {
        out += '\n';
    }
    return true;
}

bool TreeCommandC::oneLinePerInput() const { return format == TreeWriterC::FormatE::Json; }

}  // namespace qorv::math::algexpr::cli
