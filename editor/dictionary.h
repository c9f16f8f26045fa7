// Conversion dictionaries: user text files of pairs (a from text, a tab, a to text) that the
// Convert menu's D applies to a field, each chosen by a menu key and shown with a label. Up to 10
// are named by the `dictionary` setting and loaded at start-up.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/file_system.h"

namespace vondal {

inline constexpr int kMaxDictionaries = 10;
inline constexpr size_t kMaxDictionaryLabel = 32;

struct DictionaryPair {
  std::string from;
  std::string to;
};

struct Dictionary {
  std::string specification;  // the `dictionary` value as written
  std::string fileName;
  char menuKey = 0;  // 0-9 or A-Z
  std::string label;
  bool general = false;  // class general: every match is replaced; single: the first only
  std::vector<DictionaryPair> pairs;
  size_t bytes = 0;   // the texts of the pairs
  std::string error;  // the first error; a dictionary with one is not offered

  bool usable() const { return error.empty(); }
};

// Reads the specification ("file", "menukey=K", "menulabel=label", separated by blanks, tabs,
// commas or semicolons) and the file it names; a name beginning with "+" is a file of the
// program folder, whose name `programFile` gives for the rest of the name (FindProgramFile; none
// takes the rest as it stands).
Dictionary LoadDictionary(std::string_view specification, FileSystem& fs,
                          const std::function<std::string(const std::string&)>& programFile = nullptr);

// Parses the lines of a dictionary file into `dictionary` (comments from "//", pairs with a tab,
// menukey=, menulabel=, class=); sets its error on the first fault.
void ReadDictionaryText(std::string_view contents, Dictionary& dictionary);

// The dictionaries of the run, in the order of the `dictionary` setting.
std::vector<Dictionary>& TheDictionaries();

}  // namespace vondal
