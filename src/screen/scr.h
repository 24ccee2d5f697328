// SCR: the text-screen toolkit: showing masks and the screen stack, writing texts, the cursor, the
// field editor and the clipboard paste.
#pragma once
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/umas.h"

namespace SCR {

constexpr int STACK_MAX = 200;
extern std::vector<UMAS::CONV> STACK;  // saved rectangles, top last
inline int STACKPOINTER() { return int(STACK.size()); }

// Shows mask NM at its corners; with B first saves the covered rectangle on the stack.
// A mask that does not fit the 80 x 25 screen (a data mask) is refused: nothing is shown.
void CALLM(const UMAS::CONV* NM, bool B);
void CALLM(int n, bool B);  // mask n of UMAS::MPR
void PUSCR(const UMAS::CONV* M, bool B);
void RECALL();
// Saves the rectangle (X1, Y1) to (X2, Y2) of the screen as it stands on the stack; RECALL puts it back.
void SAVE(int X1, int Y1, int X2, int Y2);
// Writes S at column X, row Y (1-based), attributes unchanged; cut at column 80.
void PRINT(int X, int Y, const std::string& S);
void CURSOR(bool B);

// The characters a field accepts.
using SOC = std::bitset<256>;
SOC soc(const std::string& chars);            // exactly these characters
SOC socRange(uint8_t from, uint8_t to);
SOC socDigits();                              // "0".."9"
SOC socAll();                                 // every character from 32 on
SOC socGreekAccented();  // the accented and diaeresis Greek letters of both cases (they fold to capitals)

extern std::string RESTCLIP;  // clipboard text left over by the last paste

// The one-line field editor; K receives the exit code.
std::string GINPUT(int XX, int Y, int L, const std::string& S, const std::string& SS, const SOC& SC, bool B1,
                   bool B2, int& K);
uint8_t ISO437(uint8_t C);
// The paste of the field editor. The field is L cells from column XX of row Y; cells holds its L
// characters as the editor keeps them (mirrored on the screen), X is the cursor column and LL the
// text length. T is the text to paste in CP737, nullopt when the clipboard could not be opened
// (then nothing changes). Places T at the cursor up to the field's end or the first line break,
// sets LL, and keeps what is left over (after the break) in RESTCLIP; true when RESTCLIP is not empty.
// A paste goes through the field's accepted characters SC as typing does (a comma becomes a point
// where only the point is taken); refused characters are dropped, with one bell for the paste.
bool GETCLIP(int XX, int Y, int L, int X, int& LL, std::string& cells, const std::optional<std::string>& T,
             const SOC& SC = socAll());
// The characters of a pasted text that a box accepting SC takes (line breaks kept); refused is set
// when anything was dropped.
std::string PASTEABLE(const std::string& T, const SOC& SC, bool& refused);
// Set by the last paste when it rang the bell: the rest of the paste, spread over the next boxes,
// rings no second time.
extern bool PASTEBELL;

}  // namespace SCR
