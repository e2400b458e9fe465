// SPDX-License-Identifier: MIT
// The engines' vocabularies agree: a name both engines know has the same
// code in both, so that one text means the same to either session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(ALGEXPR_TOOL_WITH_GINAC) && defined(ALGEXPR_TOOL_WITH_GIAC)
#include "algexpr/giac/GiacEngineC.h"
#include "algexpr/ginac/GinacEngineC.h"
#endif

namespace {

#if defined(ALGEXPR_TOOL_WITH_GINAC) && defined(ALGEXPR_TOOL_WITH_GIAC)
std::vector<std::u16string> namesOf(const char16_t* const* names) {
    std::vector<std::u16string> list;
    for (std::size_t i = 0; names[i] != nullptr && names[i][0] != 0; ++i) {
        list.emplace_back(names[i]);
    }
    return list;
}

TEST(EngineVocabularyTest, SharedNamesHaveTheSameCodes) {
    using qorv::math::algexpr::giac::GiacEngineC;
    using qorv::math::algexpr::ginac::GinacEngineC;
    const std::vector<std::u16string> ginac = namesOf(GinacEngineC::builtinCoreNames());
    const std::vector<std::u16string> giac = namesOf(GiacEngineC::builtinCoreNames());
    for (std::size_t code = 0; code < ginac.size(); ++code) {
        for (std::size_t other = 0; other < giac.size(); ++other) {
            if (ginac[code] == giac[other]) {
                EXPECT_EQ(code, other) << std::string(ginac[code].begin(), ginac[code].end());
            }
        }
    }
    // The GiNaC engine lists every name of the Giac engine's, then its own.
    ASSERT_GE(ginac.size(), giac.size());
    EXPECT_EQ(std::vector<std::u16string>(ginac.begin(), ginac.begin() + static_cast<long>(giac.size())), giac);
    EXPECT_EQ(std::vector<std::u16string>(ginac.begin() + static_cast<long>(giac.size()), ginac.end()),
              (std::vector<std::u16string>{u"nintegrate", u"nsolve"}));
}
#else
TEST(EngineVocabularyTest, SharedNamesHaveTheSameCodes) { GTEST_SKIP() << "the tool has only one engine"; }
#endif

}  // namespace
