// WINCLIP: access to the system clipboard's text for the field editor's paste. The clipboard is
// opened and closed around each access; the text is UTF-8 as the desktop hands it over.
#pragma once
#include <cstdint>
#include <string>

namespace WINCLIP {

// Opens the clipboard for the program (takes its current text); true on success.
bool OPENWINCLIPBOARD();
// Closes it; true on success (false when it was not open).
bool CLOSEWINCLIPBOARD();
// The size of the open clipboard's text including its terminating zero; 0 when it holds no text.
int32_t INTERNGETDATASIZE();
// Opens the clipboard, returns INTERNGETDATASIZE, closes it.
int32_t GETTEXTWINCLIPBOARDSIZE();
// Opens the clipboard and, when it holds text, copies the text with its terminating zero into P
// (N bytes); true when there was text. Closes the clipboard.
bool GETTEXTWINCLIPBOARDDATA(std::string& P, int32_t& N);

}  // namespace WINCLIP
