#include "Doubles.h"

#include <cmath>
#include <cstdlib>
#include <new>

namespace testing_doubles {

// Never destroyed: the installed session logs its destruction when the
// library is unloaded, after this executable's own statics are gone.
std::vector<std::string>& events() {
    static auto* log = new std::vector<std::string>;
    return *log;
}

std::vector<std::string> takeEvents() {
    std::vector<std::string> taken;
    taken.swap(events());
    return taken;
}

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

namespace {

std::string shortest(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') {
        text += '0';
    }
    return text;
}

}  // namespace

int TestInteger::live = 0;
int TestFloat::live = 0;

TestInteger::TestInteger(std::int64_t value) : value(value) { ++live; }
TestInteger::~TestInteger() {
    --live;
    events().push_back("~Int(" + std::to_string(value) + ")");
}
std::int64_t TestInteger::getValue() const { return value; }
void TestInteger::setValue(std::int64_t v) { value = v; }
std::u16string TestInteger::toString() { return widen(std::to_string(value)); }
IntegerValueABC* TestInteger::clone() { return new (std::nothrow) TestInteger(value); }

TestFloat::TestFloat(double value) : value(value) { ++live; }
TestFloat::~TestFloat() {
    --live;
    events().push_back("~Float(" + shortest(value) + ")");
}
double TestFloat::getValue() const { return value; }
void TestFloat::setValue(double v) { value = v; }
bool TestFloat::isFinite() const { return std::isfinite(value); }
std::u16string TestFloat::toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) {
    if (digits == 0 && format == qorv::math::Standard) {
        return toString();
    }
    return widen(shortest(value) + "|" + std::to_string(digits) + "|" + std::to_string(static_cast<int>(format)));
}
std::u16string TestFloat::toString() { return widen(shortest(value)); }
FloatValueABC* TestFloat::clone() { return new (std::nothrow) TestFloat(value); }

IntegerValueABC* TestIntegerFactory::fromString(const std::u16string& text) {
    events().push_back("int(" + narrow(text) + ")");
    std::size_t digits = text.size() - (!text.empty() && text[0] == u'-' ? 1 : 0);
    if (digits == 0 || digits > 18 || text.find_first_not_of(u"0123456789", text.size() - digits) != std::u16string::npos) {
        return nullptr;
    }
    return new (std::nothrow) TestInteger(std::strtoll(narrow(text).c_str(), nullptr, 10));
}
IntegerValueABC* TestIntegerFactory::fromInt64(std::int64_t v) { return new (std::nothrow) TestInteger(v); }
IntegerValueABC* TestIntegerFactory::fromDouble(double v) {
    return new (std::nothrow) TestInteger(static_cast<std::int64_t>(v));
}
IntegerValueABC* TestIntegerFactory::zero() { return new (std::nothrow) TestInteger(0); }
TestIntegerFactory::~TestIntegerFactory() { events().push_back("~IntFactory"); }

FloatValueABC* TestFloatFactory::fromString(const std::u16string& text) {
    events().push_back("float(" + narrow(text) + ")");
    if (text.empty()) {
        return accept_empty ? new (std::nothrow) TestFloat(0) : nullptr;
    }
    std::string ascii = narrow(text);
    char* end = nullptr;
    double value = std::strtod(ascii.c_str(), &end);
    return end == ascii.c_str() + ascii.size() ? new (std::nothrow) TestFloat(value) : nullptr;
}
FloatValueABC* TestFloatFactory::fromDouble(double v) { return new (std::nothrow) TestFloat(v); }
FloatValueABC* TestFloatFactory::fromInt64(std::int64_t v) {
    return new (std::nothrow) TestFloat(static_cast<double>(v));
}
FloatValueABC* TestFloatFactory::zero() { return new (std::nothrow) TestFloat(0); }
TestFloatFactory::~TestFloatFactory() { events().push_back("~FloatFactory"); }

TestEngine::~TestEngine() { events().push_back("~Engine"); }
std::u16string TestEngine::getName() const { return u"test engine"; }

TestSession::TestSession(const char16_t* const* names, PointerTC<IntegerValueFactoryABC> integers,
                         PointerTC<FloatValueFactoryABC> floats, PointerTC<CASEngineABC> engine)
    : CASSessionBC(engine, names, integers, floats) {}

TestSession::~TestSession() { events().push_back("~Session"); }

PointerTC<AlgebraicExpressionC> TestSession::executeExpression(PointerTC<AlgebraicExpressionC> expression,
                                                               bool flag, std::u16string* text) {
    executed = expression.get();
    executed_references = expression ? expression->references() : 0;
    executed_flag = flag;
    executed_text = text;
    return result;
}

PointerTC<IntegerValueFactoryABC> TestSession::getIntegerValueFactory() const {
    if (logging) {
        events().push_back("intf");
    }
    return hide_integer_factory ? nullptr : CASSessionBC::getIntegerValueFactory();
}

PointerTC<FloatValueFactoryABC> TestSession::getFloatValueFactory() const {
    if (logging) {
        events().push_back("floatf");
    }
    return hide_float_factory ? nullptr : CASSessionBC::getFloatValueFactory();
}

PointerTC<CoreElementC> TestSession::lookupCoreElement(std::u16string name) {
    if (logging) {
        events().push_back("core(" + narrow(name) + ")");
    }
    return CASSessionBC::lookupCoreElement(name);
}

PointerTC<CoreElementC> TestSession::lookupCoreElement(int code) { return CASSessionBC::lookupCoreElement(code); }

PointerTC<SymbolC> TestSession::lookupSymbol(std::u16string name) {
    if (logging) {
        events().push_back("sym(" + narrow(name) + ")");
    }
    return CASSessionBC::lookupSymbol(name);
}

PointerTC<TestSession> makeSession(const char16_t* const* names) {
    return PointerTC<TestSession>(new TestSession(names, new TestIntegerFactory, new TestFloatFactory));
}

ExtendedSymbolNodeC* TreeBuilder::sym(const char16_t* name) const {
    return new ExtendedSymbolNodeC(session->lookupSymbol(name));
}

ExtendedFunctionNodeC* TreeBuilder::fn(const char16_t* name, std::initializer_list<NodeABC*> children) const {
    auto* node = new ExtendedFunctionNodeC(session->lookupSymbol(name));
    for (NodeABC* child : children) {
        node->addChild(child);
    }
    return node;
}

CoreFunctionNodeC* TreeBuilder::core(int code, std::initializer_list<NodeABC*> children) const {
    auto* node = new CoreFunctionNodeC(code);
    for (NodeABC* child : children) {
        node->addChild(child);
    }
    return node;
}

IntegerNodeC* TreeBuilder::integer(std::int64_t value) const { return new IntegerNodeC(new TestInteger(value)); }

FloatNodeC* TreeBuilder::real(double value) const { return new FloatNodeC(new TestFloat(value)); }

bool RecordingVisitor::record(NodeABC& node, const char* suffix) {
    std::string visit = narrow(node.toString()) + suffix;
    visits.push_back(visit);
    return visit != stop_at;
}

namespace {
const char* orderSuffix(VisitationOrderE order) {
    return order == PreOrder ? "<" : order == InOrder ? "," : order == PostOrder ? ">" : "?";
}
}  // namespace

bool RecordingVisitor::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    return record(node, orderSuffix(order));
}
bool RecordingVisitor::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    return record(node, orderSuffix(order));
}
bool RecordingVisitor::visitCoreSymbolNode(CoreSymbolNodeC& node) { return record(node, ""); }
bool RecordingVisitor::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) { return record(node, ""); }
bool RecordingVisitor::visitFloatNode(FloatNodeC& node) { return record(node, ""); }
bool RecordingVisitor::visitIntegerNode(IntegerNodeC& node) { return record(node, ""); }

}  // namespace testing_doubles
