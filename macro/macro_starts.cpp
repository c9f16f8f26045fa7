#include "macro/macro_starts.h"

#include "macro/label_table.h"
#include "macro/macro_player.h"
#include "macro/macro_store.h"

namespace vondal {

bool PlayMacroNumber(EditState& state, int n) {
  MacroStore& store = TheMacroStore();
  if (n < 0 || n >= store.Count()) return false;
  ThePlayer().StartMacro(state, store.Text(n));
  return true;
}

bool PlayFunctionKeyMacro(EditState& state, int key) {
  const int n = TheMacroStore().SlotMacro(FunctionKeySlot(key));
  return n != 0 && PlayMacroNumber(state, n);
}

bool PlayLabel(EditState& state, std::string_view name) {
  if (name.empty()) return false;
  MacroStore& store = TheMacroStore();
  LabelTable labels;
  labels.Build(store);
  const int found = labels.Find(name);
  if (found < 0) return false;
  const LabelEntry& label = labels.entries()[found];
  ThePlayer().StartMacro(state, store.Text(label.macro) + label.position + 1 + label.name.size());
  return true;
}

void PlayStartMacroOnce(EditState& state) {
  MacroStore& store = TheMacroStore();
  const int n = store.TakeStartMacro();
  if (n > 0 && n < store.Count() && !store.Modified()) PlayMacroNumber(state, n);
}

}  // namespace vondal
