// The three wildcard matchers shared by every program. Each takes a pattern and a text and is
// true when the whole text matches the whole pattern. Common syntax: "?" one character, "*" any
// run (also none), "#" a digit, "@" a letter.
#pragma once

#include <string_view>

namespace vondal {

// The plain matcher, named in the tools' usage texts as the reference for wildcard syntax.
// Two-byte characters are one unit. ignoreCase makes ASCII letters match regardless of case.
bool jstrwldc(std::string_view pattern, std::string_view text, bool ignoreCase);

// The extended matcher: the plain syntax plus "@" classes with counts ("@3n", "@+K", "@!n") and
// the escapes "@?" "@*" "@#" "@@". An unknown class letter makes the match fail.
bool MatchExtended(std::string_view pattern, std::string_view text, bool ignoreCase);

// Whether the character at text[pos] belongs to a class of the extended matcher ("hZaAlLuUnNkK
// sSpPbBmMHJCGRct$"); ゛ ゜ ー belong to the kana classes after a kana. False for any other letter.
bool InCharacterClass(char letter, std::string_view text, size_t pos);
bool IsCharacterClassLetter(char letter);

// The call-sign matcher: byte by byte, always case-sensitive, with one remembered byte
// ("%#" "%@" "%?" remember, "%&" "%=" recall, "%!" anything else, "%x" anything but x).
bool MatchCallsign(std::string_view pattern, std::string_view text);

// A file-name pattern against a file name: name parts and extension parts (split at the last
// ".") are matched separately with the extended matcher ignoring case.
bool MatchFileName(std::string_view pattern, std::string_view name);

}  // namespace vondal
