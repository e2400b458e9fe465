// SPDX-License-Identifier: MIT
// The registration: the one place of the tool that lists its engines; the
// build chooses, for each, the source of its entry (tools/algexpr/CMakeLists.txt).
#include "EngineRegistryC.h"

#include <algorithm>

namespace qorv::math::algexpr::cli {

// Each defined by the engine's entry, or, for an engine the tool is built
// without, by its MissingEntryC (the build chooses the source).
const EngineEntryABC& ginacEntry();
const EngineEntryABC& giacEntry();
const EngineEntryABC& numericEntry();

namespace {

const std::vector<const EngineEntryABC*>& entries() {
    static const std::vector<const EngineEntryABC*> list{&ginacEntry(), &giacEntry(), &numericEntry()};
    return list;
}

}  // namespace

const std::vector<const EngineEntryABC*>& EngineRegistryC::all() { return entries(); }

const EngineEntryABC* EngineRegistryC::named(const std::string& name) {
    for (const EngineEntryABC* entry : entries()) {
        if (name == entry->name()) {
            return entry;
        }
    }
    return nullptr;
}

const EngineEntryABC& EngineRegistryC::defaultEngine() {
    for (const EngineEntryABC* entry : entries()) {
        if (entry->missing() == nullptr) {
            return *entry;
        }
    }
    return *entries().back();
}

EngineEntryABC::FiguresS EngineRegistryC::largestFigures() {
    EngineEntryABC::FiguresS largest;
    for (const EngineEntryABC* entry : entries()) {
        if (entry->missing() == nullptr) {
            const EngineEntryABC::FiguresS f = entry->figures();
            largest.default_digits = std::max(largest.default_digits, f.default_digits);
            largest.max_digits = std::max(largest.max_digits, f.max_digits);
            largest.max_diff_order = std::max(largest.max_diff_order, f.max_diff_order);
            largest.max_series_order = std::max(largest.max_series_order, f.max_series_order);
        }
    }
    return largest;
}

const EngineEntryABC* EngineRegistryC::answering(const EngineEntryABC& failed, CommandE command) {
    for (const EngineEntryABC* entry : entries()) {
        if (entry != &failed && entry->missing() == nullptr && entry->offers(command) &&
            (!entry->realSymbols() || failed.realSymbols())) {
            return entry;
        }
    }
    return nullptr;
}

std::string EngineRegistryC::builtNames() {
    std::vector<const char*> built;
    for (const EngineEntryABC* entry : entries()) {
        if (entry->missing() == nullptr) {
            built.push_back(entry->name());
        }
    }
    std::string text;
    for (std::size_t i = 0; i < built.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == built.size() ? " or " : ", ") + std::string(built[i]);
    }
    return text;
}

}  // namespace qorv::math::algexpr::cli
