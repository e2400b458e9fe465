// SPDX-License-Identifier: MIT
// The tool's engines as the registry describes them: each engine's built-in
// names are the one vocabulary table's in its order (so a name has one code
// in every engine), what each offers comes from the table, and installing a
// session when another is current fails cleanly, leaving the current one in
// use.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CommandLineC.h"
#include "EngineRegistryC.h"
#include "SessionInstallerC.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::cli::CommandE;
using qorv::math::algexpr::cli::CommandLineC;
using qorv::math::algexpr::cli::EngineEntryABC;
using qorv::math::algexpr::cli::EngineRegistryC;
using qorv::math::algexpr::cli::SessionInstallerC;
namespace support = qorv::math::algexpr::support;

std::vector<std::u16string> namesOf(const char16_t* const* names) {
    std::vector<std::u16string> list;
    for (std::size_t i = 0; names[i] != nullptr && names[i][0] != 0; ++i) {
        list.emplace_back(names[i]);
    }
    return list;
}

TEST(EngineRegistryTest, EachEngineOffersWhatItsColumnComputes) {
    ASSERT_EQ(EngineRegistryC::all().size(), 3u);
    EXPECT_EQ(EngineRegistryC::builtNames().substr(EngineRegistryC::builtNames().size() - 7), "numeric");
    EXPECT_EQ(EngineRegistryC::named("maple"), nullptr);
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        EXPECT_EQ(EngineRegistryC::named(entry->name()), entry);
        // Its built-in names: the table's in order, but those it lacks.
        std::vector<std::u16string> expected;
        for (const support::WordS& word : support::kWords) {
            if (word.support[static_cast<std::size_t>(entry->column())] != support::SupportE::Lacks) {
                expected.emplace_back(word.name);
            }
        }
        if (entry->missing() == nullptr) {
            EXPECT_EQ(namesOf(entry->builtinCoreNames()), expected) << entry->name();
        }
        const std::string name = entry->name();
        EXPECT_EQ(entry->offers(CommandE::Simplify), name != "numeric") << name;
        EXPECT_EQ(entry->offers(CommandE::Integrate), name == "giac") << name;
        EXPECT_FALSE(entry->offers(CommandE::Eval)) << name;
    }
    EXPECT_EQ(EngineRegistryC::defaultEngine().missing(), nullptr);
    // Who answers when an answer fails its check: an engine that offers the
    // operation and whose symbols take every value the first one's do.
    const EngineEntryABC* ginac_entry = EngineRegistryC::named("ginac");
    const EngineEntryABC* giac_entry = EngineRegistryC::named("giac");
    if (ginac_entry->missing() == nullptr && giac_entry->missing() == nullptr) {
        EXPECT_EQ(EngineRegistryC::answering(*giac_entry, CommandE::Simplify), ginac_entry);
        EXPECT_EQ(EngineRegistryC::answering(*giac_entry, CommandE::Integrate), nullptr);
        EXPECT_EQ(EngineRegistryC::answering(*ginac_entry, CommandE::Factor), nullptr);  // Giac's symbols are real
    }
    // An engine lacks names at the end only: every name it has keeps its code
    // (today each has every name, refusing those it does not compute).
    const std::vector<std::u16string> ginac = namesOf(support::builtinNames(support::EngineColumnE::Ginac));
    for (const auto column : {support::EngineColumnE::Giac, support::EngineColumnE::Numeric}) {
        const std::vector<std::u16string> other = namesOf(support::builtinNames(column));
        const std::size_t common = std::min(ginac.size(), other.size());
        EXPECT_EQ(std::vector<std::u16string>(ginac.begin(), ginac.begin() + static_cast<long>(common)),
                  std::vector<std::u16string>(other.begin(), other.begin() + static_cast<long>(common)));
    }
    EXPECT_EQ(ginac.size(), support::kWordCount);
}

TEST(EngineRegistryTest, ASecondSessionIsRefusedAndTheFirstStaysInUse) {
    for (const EngineEntryABC* entry : EngineRegistryC::all()) {
        if (entry->missing() != nullptr) {
            continue;
        }
        CommandLineC options;
        const std::vector<const char*> argv{"algexpr", "--engine", entry->name(), "eval"};
        ASSERT_TRUE(options.parse(static_cast<int>(argv.size()), argv.data())) << options.error();
        std::string problem;
        std::vector<std::string> warnings;
        const bool first = !CASSessionBC::getSession();
        EXPECT_EQ(SessionInstallerC::install(options, problem, warnings), first) << entry->name();
        EXPECT_EQ(problem, first ? "" : "another session is current already") << entry->name();
        const auto sum = AlgebraicExpressionC::fromPrefixString(u"plus(1,2)");
        ASSERT_TRUE(sum);
        const auto result = sum->execute(false, nullptr);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->toPrefixString(0, qorv::math::Standard), u"3");
    }
}

}  // namespace
