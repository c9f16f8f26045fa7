// The record editor's menus as the syntax check walks them after 13 27 (field input left with
// Esc): each node lists the keys its menu takes and, key by key, what follows the key.
#pragma once

#include <array>
#include <string_view>

namespace vondal {

// `next` (empty: every key ends the path) holds for each key of `keys` one character: a blank
// ends the path, "}" is a macro number's first digit (the second follows in node "}"), ";" is
// followed by a separator byte, and any other character names the next node by its code, the code
// 96 + n naming node n ("`" node 0, "a" node 1, ..., "~" node 30).
struct MenuNode {
  std::string_view keys;
  std::string_view next;
};

inline constexpr int kMenuNodeCount = 31;
inline constexpr int kNodeBase = 96;
inline constexpr int kMacroDigitNode = '}' - kNodeBase;

const std::array<MenuNode, kMenuNodeCount>& MenuTree();

}  // namespace vondal
