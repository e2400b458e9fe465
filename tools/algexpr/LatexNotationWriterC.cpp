#include "LatexNotationWriterC.h"

#include "AppendUtf8.h"

namespace qorv::math::algexpr::cli {

LatexNotationWriterC::LatexNotationWriterC(unsigned long digits, qorv::math::NumberDisplayFormatE float_format)
    : digits(digits), float_format(float_format) {}

bool LatexNotationWriterC::write(NodeABC& node, std::string& out, std::string& problem) {
    const std::u16string text = printer.getExpressionString(&node, digits, float_format);
    if (text.empty()) {
        problem.clear();
        appendUtf8(printer.getErrorMessage(), problem);
        return false;
    }
    appendUtf8(text, out);
    return true;
}

}  // namespace qorv::math::algexpr::cli
