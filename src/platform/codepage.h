// Code-page conversions on glibc iconv with complete tables. Text inside the program is CP737.
// Characters the target cannot hold become "?".
#pragma once
#include <cstdint>
#include <string>

namespace PLAT {

std::string cp737ToUtf8(const std::string& s);       // box drawing and control glyphs included
                                                     // (tab, LF, FF and CR stay line structure)
std::string utf8ToCp737(const std::string& s);
std::string cp737ToIso88597(const std::string& s);
std::string iso88597ToCp737(const std::string& s);
std::string cp737ToCp1253(const std::string& s);
std::string cp1253ToCp737(const std::string& s);
// The Unicode code point of one CP737 byte (control bytes 1..31 and 127 as the CP437-style glyphs
// when glyphs is true, else as themselves).
char32_t cp737ToUnicode(uint8_t c, bool glyphs = true);
// UTF-8 encoding of one code point.
std::string utf8(char32_t cp);
// Greek upper-case/lower-case helpers on CP737 text.
std::string cp737Upper(const std::string& s);
// A text of the program written in the source as UTF-8, in CP737.
inline std::string gr(const char* utf8text) { return utf8ToCp737(utf8text); }

}  // namespace PLAT
