// SPDX-License-Identifier: MIT
#include "SubstCommandC.h"

#include <memory>
#include <utility>

#include "CommandLineC.h"
#include "ExpressionReaderABC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

SubstCommandC::SubstCommandC(const CommandLineC& options, ExpressionReaderABC& reader, ExpressionWriterABC& writer)
    : reader(reader),
      writer(writer),
      name_text(options.subst_name),
      replacement_text(options.replacement),
      by_code(options.subst_by_code),
      code(options.subst_code) {}

bool SubstCommandC::prepare(std::string& problem) {
    std::u16string text;
    std::size_t bad = 0;
    if (Utf8C::decode(replacement_text, text, bad) != Utf8C::Converted) {
        problem = "the replacement is not valid UTF-8";
        return false;
    }
    ReadErrorC error;
    replacement_p = reader.read(text, error);
    if (!replacement_p) {
        problem = error.describe("the replacement", text);
        return false;
    }
    if (by_code) {
        return true;
    }
    if (Utf8C::decode(name_text, name, bad) != Utf8C::Converted) {
        problem = "the NAME is not valid UTF-8";
        return false;
    }
    // A core name stands for its core symbols, which only a substitution by
    // code reaches.
    PointerTC<CoreElementC> element = CASSessionBC::getSession()->lookupCoreElement(name);
    if (element) {
        by_code = true;
        code = element->getCode();
    }
    return true;
}

bool SubstCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                           std::string& problem) {
    std::unique_ptr<NodeABC> copy(by_code ? substituter.subst(expression.getNode(), code, replacement_p->getNode())
                                          : substituter.subst(expression.getNode(), name, replacement_p->getNode()));
    if (!copy) {
        problem = "out of memory";
        return false;
    }
    return writeLine(writer, *copy, out, problem);
}

}  // namespace qorv::math::algexpr::cli
