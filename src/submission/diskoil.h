// DISKOIL: the excise export of spirits and wines. One run writes the segment file of an excise
// declaration from the field table "PARDEFK" (mode 1: "D" + reference + ".TXT" into line 3 of
// "ASCI_OUT.TXT"; mode 5: "inp.txt" in the working folder, handed to the customs client), with its
// own field codes, the item's tax segments and the item's wine and spirits lines.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "submission/disket_run.h"

namespace DISKOIL {

// One excise run over the open declaration. EXT: the declaration's kind ("PTE" and "EXP" change
// some fields); EDE: 1 (file) or 5 (send); TESTENV: the send goes to the test environment.
void MAKE_DISK_OIL(const std::string& EXT, uint8_t EDE, bool TESTENV);

// The state of one excise run: the segment run's state and what only this run keeps.
struct RUN : DISKET::RUN {
    std::string STEIDOS;                // the current item in decimal
    std::array<bool, 9> FOROI888{};     // [1..8]: the tax line is still written by code 980
    int C605 = 0;                       // the code-605 counter of the item
    // Item box n/m: box n for item 1 (and before the first item row), sheet box m for the others.
    std::string ibox(int n, int m) const { return AREIDOS <= 1 ? box(n) : sheetBox(m); }
};

// The walk over the 220 rows with the excise row step.
void WALK(RUN& R);
// The value of the current row (codes below 1000 and 999; codes 1 to 289 not listed give their
// box), and the check or change that follows it on the trimmed value.
void VALUE(RUN& R);
void AFTERVALUE(RUN& R);
// Code 980: the tax segments of the current item. Code 1111: its wine and spirits lines.
void FOROLOGIA(RUN& R);
void WRITEKRASIA(RUN& R);
// The declarant's standing (R.IDIOS): 1 when box 34 is box 21 or box 11, 2 when it is the
// company's tax number, else 2 after the warning.
void GET_IDIOS(RUN& R);

}  // namespace DISKOIL
