// XML: the one encoder of every XML file the program writes. Stored texts (code page 737) become
// XML-safe UTF-8: the five reserved characters as entities, every CP737 character as its Unicode
// code point, control characters as blanks. The output is always valid UTF-8 and is never cut, so
// no entity and no UTF-8 sequence is ever split (a converted text may be longer than 255 bytes).
#pragma once
#include <cstdint>
#include <string>

namespace XML {

// The UTF-8 bytes of the code-page-737 byte C (two or three bytes for C >= 80 hexadecimal).
std::string CP737TOUTF8(uint8_t C);
// S with "&", ">", "<", "'" and '"' escaped; a marker "~;~" standing in S also becomes "&amp;".
std::string S2XMLS(const std::string& S);
// S2XMLS(S) converted to UTF-8; bytes below 20 (hexadecimal) and 7F become blanks.
std::string S2UTF8S(const std::string& S);
// Starts an XML file built in F: the byte-order mark and the XML declaration with its line end.
void WRITEPREAMP(std::string& F);

}  // namespace XML
