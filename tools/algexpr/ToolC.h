// ToolC: runs one command of the algexpr tool: installs the reference
// client's session once, then reads each input (the EXPR arguments, or the
// lines of standard input), and writes one result per input to standard
// output and one message per failed input to standard error.
#ifndef ALGEXPR_TOOL_TOOLC_H
#define ALGEXPR_TOOL_TOOLC_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLineC.h"
#include "OutputC.h"
#include "TreeWriterC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/SubstVisitorC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

class ToolC {
public:
    /// Keeps a reference to `options`, which must outlive the tool.
    explicit ToolC(const CommandLineC& options);
    ~ToolC();
    ToolC(const ToolC&) = delete;
    ToolC& operator=(const ToolC&) = delete;

    /// Runs the command to its end; the exit status (0, 1, or 2 when the set-up
    /// fails: an unreadable core names file or subst arguments that do not read).
    int run();

private:
    // Where an input came from, for messages: "line 3", "argument 2".
    struct PlaceS {
        const char* kind;
        std::size_t number;
    };

    bool setUp();
    bool loadCoreNames();
    void handle(std::string_view line, PlaceS place);
    void handleExpression(qorv::oss::PointerTC<AlgebraicExpressionC> expression, PlaceS place);
    void failed(PlaceS place, const std::string& message);
    void printNode(NodeABC* node);
    bool oneLinePerInput() const;
    int setUpError(const std::string& message);

    const CommandLineC& options;
    OutputC output;
    TreeWriterC tree_writer;
    PrefixPrintVisitorC printer;
    SubstVisitorC substituter;
    qorv::oss::PointerTC<AlgebraicExpressionC> replacement_p;
    std::u16string subst_name;
    int subst_code = 0;
    bool subst_by_code = false;
    std::vector<std::u16string> core_names;
    std::u16string text;  // the input being read, reused
    std::size_t failures = 0;
    std::size_t blocks = 0;  // tree blocks written (text form)
    bool interactive = false;
};

}  // namespace qorv::math::algexpr::cli

#endif
