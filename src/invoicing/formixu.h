// FORMIXU: the document text for signing: a printed document in code page 737 with column markers
// ("<<(" and the column in three characters) becomes Windows-1253 text with the markers expanded
// into blanks.
#pragma once
#include <string>

namespace FORMIXU {

// Code page 737 to Windows-1253 (the platform's complete table; a character Windows-1253 cannot
// hold, such as a box-drawing character, becomes "?").
std::string CP737TO1253(const std::string& SOURCE);
// One line: converted, then every marker expanded (output held to 255 characters).
std::string TABSLINE(const std::string& LINE);
// Reads the text file FNAME1 and writes the converted text file FNAME2 (CR LF line ends), line for
// line. False when FNAME1 cannot be read or FNAME2 cannot be written (nothing is left of FNAME2).
bool TABSOUT(const std::string& FNAME1, const std::string& FNAME2);

}  // namespace FORMIXU
