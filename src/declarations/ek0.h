// EK0: the declaration editor. DISF is the box-by-box editor of one declaration of one kind:
// the main page through a window of 23 rows, the rules of each box on entering, leaving and Tab,
// the number of box 1 (proposal, opening, renumbering), storing, deleting and the keys that open
// the continuation sheets, documents, print views and submissions. The store operations it uses
// (CHO, DISF_RUF, KATD) are declared with the store.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace EK0 {

// KD: a declaration number or empty; EXT: "IMP", "EXP", "MTF", "MET" or "DFK"; YPOD: the template
// slot it was opened from (0 for none). Returns when the clerk leaves with Esc.
void DISF(const std::string& KD, const std::string& EXT, int YPOD);

// Today as "dd/mm/yy" followed by a blank and the weekday.
std::string DATEST();
// Advances "DAR.DAT" after a store of number KD (when KD lies within the proposal's window).
void SAVENODIAS(const std::string& KD);
// The first line of "DAR.DAT" (fatal when the file is missing).
std::string READNODIAS();

// Prints the main page on the pre-printed form (print-form id 1) after the endorsement lines (an
// export or transit with general switch 4 = 1) and the question; advances the print counter.
void EKTY(const std::string& EXT, bool T2L);
// The text of main-page box B as the declaration print writes it for kind EXT (country text, date
// slashes, rate signs, the transit's box 8), trailing blanks not yet removed.
std::string EKTYTEXT(const std::string& EXT, int B);
// Rewrites the template slot's entry with the current declaration. OPENED: the number the editor
// was opened with from slot YPOD; when another workstation's sort or store has put another template
// into that slot since, the entry goes to the slot that now carries OPENED (else the first free
// one), never over the other template.
void KATY(const std::string& EXT, int YPOD, const std::string& OPENED = "");
// The electronic submission keys of the editor (exit codes 17..33 of the field editor): the side
// data the chosen format reads, the totals (TOTALS, the editor's SUMKOLLA) and the run.
void SUBMIT(int K, const std::string& EXT, const std::function<void()>& TOTALS);
// True when "Kath_Egg.txt" of the working folder has a line whose first two characters, after its
// blanks at both ends are cut, equal S2.
bool KATHEGG(const std::string& S2);

}  // namespace EK0
