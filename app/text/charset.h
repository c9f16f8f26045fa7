// Conversion between the CP932 texts inside the system and the outside world: the terminal
// (UTF-8), messages printed to stdout/stderr and file names (the locale's charset). This is the
// only place that converts; everything else handles CP932 bytes.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vondal {

// The charset of the user's locale as iconv names it; "UTF-8" when the locale names plain ASCII
// (the C/POSIX locale), since that is what terminals speak.
const std::string& LocaleCharset();

// CP932 text to the locale's charset. A character the target cannot hold becomes "?"; a broken
// two-byte character becomes "?".
std::string Cp932ToLocale(std::string_view cp932);

// Text in the locale's charset to CP932. A character CP932 cannot hold becomes "?".
std::string LocaleToCp932(std::string_view local);

// CP932 to UTF-8 and back, whatever the locale (the terminal layer uses these).
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);
// The same, counting in `replaced` the characters that became "?" (CP932 cannot hold them, or
// their bytes are no UTF-8).
std::string Utf8ToCp932(std::string_view utf8, int& replaced);

// What the bytes of a text file are, as far as its own bytes tell.
enum class TextCharset { kAscii, kUtf8, kCp932 };

// The charset of a file's bytes (`text`, the whole file or its beginning): UTF-8 when it begins
// with the byte order mark or when its bytes above 0x7F are UTF-8 sequences, CP932 when they are
// not, ASCII when there are none. The first 4096 such sequences decide (a CP932 text of that many
// characters that passes for UTF-8 does not occur); a sequence cut off at the end of `text`
// counts as UTF-8.
TextCharset GuessCharset(std::string_view text);

// The UTF-8 byte order mark, which a file may begin with.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Writes CP932 text at `to` as UTF-8, the same characters and "?" as Cp932ToUtf8, and returns the
// end of what it wrote; `to` must have room for three bytes a byte of the text. A table of every
// CP932 character, made once with iconv, serves it: exports that convert millions of short texts
// pay a look-up a character instead of a conversion call.
char* Cp932ToUtf8At(char* to, std::string_view cp932);

// Writes a CP932 text to a stream in the locale's charset.
void PrintLocal(std::FILE* stream, std::string_view cp932);

// A file name for the operating system (CP932 to the locale's charset). ASCII names are
// unchanged in every locale.
inline std::string FileNameForSystem(std::string_view cp932) { return Cp932ToLocale(cp932); }

}  // namespace vondal
