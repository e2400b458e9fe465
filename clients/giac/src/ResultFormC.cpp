// SPDX-License-Identifier: MIT
#include "ResultFormC.h"

#include <utility>

namespace qorv::math::algexpr::giac::detail {

std::uint32_t ResultFormC::add(KindE kind, std::u16string text, const std::vector<std::uint32_t>& arguments) {
    ItemS item{kind, std::move(text), 0.0, static_cast<std::uint32_t>(links.size()),
               static_cast<std::uint32_t>(arguments.size())};
    links.insert(links.end(), arguments.begin(), arguments.end());
    item_list.push_back(std::move(item));
    return static_cast<std::uint32_t>(item_list.size() - 1);
}

std::uint32_t ResultFormC::addFloat(double value) {
    const std::uint32_t index = add(KindE::Float, std::u16string());
    item_list[index].value = value;
    return index;
}

}  // namespace qorv::math::algexpr::giac::detail
