// SPDX-License-Identifier: MIT
#include "algexpr/detail/CoreElementTableC.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "support/NameHash.h"
#include "support/SymbolAccess.h"

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

// What the table holds at one time: the elements by code (their index) and
// by name (open addressing over a power of two of slots, at most half full;
// a slot without an element is empty). Never changed once published.
struct CoreElementTableC::Snapshot {
    struct Named {
        std::uint64_t hash = 0;
        std::u16string_view name;  // the element's symbol's name, which the element keeps alive
        PointerTC<CoreElementC> element;
    };

    std::vector<PointerTC<CoreElementC>> by_code;
    std::vector<Named> by_name;
    const Snapshot* previous = nullptr;  // replaced by this one; kept until the table goes

    // Enters the element under its name, displacing the element held there.
    void name(Named entry) {
        const std::size_t mask = by_name.size() - 1;
        for (std::size_t i = entry.hash & mask;; i = (i + 1) & mask) {
            Named& slot = by_name[i];
            if (!slot.element || (slot.hash == entry.hash && slot.name == entry.name)) {
                slot = std::move(entry);
                return;
            }
        }
    }

    static Named entryOf(const PointerTC<CoreElementC>& element) {
        PointerTC<SymbolC> symbol = element->getSymbol();
        const std::u16string_view name = symbol ? std::u16string_view(detail::SymbolAccess::name(*symbol)) : u"";
        return {detail::hashName(name.data(), name.size()), name, element};
    }

    const Named* find(std::uint64_t hash, std::u16string_view name) const {
        const std::size_t mask = by_name.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Named& slot = by_name[i];
            if (!slot.element) {
                return nullptr;
            }
            if (slot.hash == hash && slot.name == name) {
                return &slot;
            }
        }
    }
};

CoreElementTableC::CoreElementTableC() noexcept : current_p(nullptr), locks(1) {}

CoreElementTableC::~CoreElementTableC() {
    const Snapshot* snapshot = current_p.load(std::memory_order_acquire);
    while (snapshot != nullptr) {
        const Snapshot* previous = snapshot->previous;
        const_cast<Snapshot*>(snapshot)->by_name.clear();
        const_cast<Snapshot*>(snapshot)->by_code.clear();
        delete snapshot;
        snapshot = previous;
    }
}

// Every snapshot's elements: the table holds them all until it goes, and
// each element entered stands under its code in the snapshot made for it.
void CoreElementTableC::eachElement(void (*apply)(qorv::oss::RefCountedBC&)) noexcept {
    detail::ForkSafeLocksC::GuardC guard(locks, 0);
    for (const Snapshot* snapshot = current_p.load(std::memory_order_acquire); snapshot != nullptr;
         snapshot = snapshot->previous) {
        for (const PointerTC<CoreElementC>& element : snapshot->by_code) {
            if (element) {
                apply(*element);
            }
        }
    }
}

void CoreElementTableC::spreadCounts() noexcept {
    eachElement([](qorv::oss::RefCountedBC& element) { qorv::oss::detail::CountSpreading::spread(element); });
}

void CoreElementTableC::gatherCounts() noexcept { eachElement(qorv::oss::detail::CountSpreading::gather); }

void CoreElementTableC::addCoreElements(const std::vector<PointerTC<CoreElementC>>& elements) {
    detail::ForkSafeLocksC::GuardC guard(locks, 0);
    const Snapshot* old = current_p.load(std::memory_order_relaxed);
    try {
        auto fresh = std::make_unique<Snapshot>();
        std::size_t names = elements.size();
        if (old != nullptr) {
            fresh->by_code = old->by_code;
            for (const Snapshot::Named& entry : old->by_name) {
                names += entry.element ? 1 : 0;
            }
        }
        std::size_t slots = 8;
        while (slots < 2 * names) {
            slots *= 2;
        }
        fresh->by_name.resize(slots);
        if (old != nullptr) {
            for (const Snapshot::Named& entry : old->by_name) {
                if (entry.element) {
                    fresh->name(entry);
                }
            }
        }
        for (const PointerTC<CoreElementC>& element : elements) {
            const int code = element ? element->getCode() : -1;
            if (code < 0) {
                continue;
            }
            if (static_cast<std::size_t>(code) >= fresh->by_code.size()) {
                fresh->by_code.resize(static_cast<std::size_t>(code) + 1);
            }
            fresh->by_code[static_cast<std::size_t>(code)] = element;
            fresh->name(Snapshot::entryOf(element));
        }
        fresh->previous = old;
        current_p.store(fresh.release(), std::memory_order_release);
    } catch (const std::bad_alloc&) {
    }
}

PointerTC<CoreElementC> CoreElementTableC::lookupCoreElement(int code) const {
    const Snapshot* snapshot = current_p.load(std::memory_order_acquire);
    if (snapshot == nullptr || code < 0 || static_cast<std::size_t>(code) >= snapshot->by_code.size()) {
        return PointerTC<CoreElementC>();
    }
    return snapshot->by_code[static_cast<std::size_t>(code)];
}

PointerTC<CoreElementC> CoreElementTableC::lookupCoreElement(const std::u16string& name) const {
    const Snapshot* snapshot = current_p.load(std::memory_order_acquire);
    if (snapshot == nullptr) {
        return PointerTC<CoreElementC>();
    }
    const Snapshot::Named* entry = snapshot->find(detail::hashName(name.data(), name.size()), name);
    return entry != nullptr ? entry->element : PointerTC<CoreElementC>();
}

}  // namespace qorv::math::algexpr
