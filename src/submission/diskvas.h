// DISKVAS: the message catalogue of the electronic submissions, the error-list window, the
// manifest and DAO reference counters and the question whether a DAO is outgoing or incoming.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace DISKVAS {

// The catalogue text of message X in code page 737; empty for a number without a text.
std::string ERRMESS(int X);

// Shows a run's error list in mask 104 (21 lines at most) until a key; CERR is the number of errors
// the run counted. The screen is restored. The lines are the run's own, as it wrote them to
// "ERROR.TXT": workstations sharing the working folder may have written theirs over that file since.
void SHOWERROR(const std::vector<std::string>& lines, int CERR);

// The manifest and DAO reference numbers of the current run.
extern int32_t ANAFDIL;
extern int32_t ANAFDAO;
// Set the counter to the number in "DILANAF.DAT" / "DAOANAF.DAT" of the company folder plus one
// (1 when the file is missing or holds no number).
void GETANAFDIL();
void GETANAFDAO();
// Write the counter back to its file, whole (the number alone); a counter below or equal to the
// number the file holds leaves the file as it is (a counter never goes back).
void PUTANAFDIL();
void PUTANAFDAO();
// The number a counter file holds: the value of the digits at its start (after blanks), 0 when
// there are none; a number too large for a counter reads as 999999999.
int32_t COUNTERVALUE(const std::string& text);

// Asks whether the DAO is outgoing (0) or incoming (1); only Enter answers.
uint8_t TYPOSDAO();

}  // namespace DISKVAS
