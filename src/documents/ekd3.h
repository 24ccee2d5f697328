// EKD3: documents of the documents menu printed on their own pre-printed forms: the fee form with
// its entry screen and the customs value declaration DV1; the CMR notes, form N105, form BEYG and
// the T5 control copy are reached from the menu through this module too.
#pragma once
#include <string>

#include "common/umas.h"
#include "declarations/bod.h"

namespace EKD3 {

// ---- Fee form ------------------------------------------------------------------------------------
// The entry screen of the fee form (mask 79, whose cells keep the kind-of-work lines 1-10 and the
// amount, field 11, for the rest of the run). Returns the mask that holds them.
UMAS::CONV* PDET();
// The fee form of the page P with box table G (print-form id 13): entry, question, copies.
void EKDE(BOD::SCB P, BOD::GGV G);
// Letter spacing for the comb boxes of the form: for j = 1 to 2L - 1, a blank inserted at position
// j when j is even (past the end it is appended), so the first L characters stand one blank apart.
std::string LETTERSPACE(const std::string& S, int L);

// ---- Customs value declaration DV1 ----------------------------------------------------------------
struct DV1Entry {
    std::string O1, O2;      // free lines, 25
    std::string P[3];        // amounts, 10
    std::string S[3];        // their currencies, 3
    std::string I[3];        // their rates, 7
};
// The proposal from the current declaration's main page.
DV1Entry DV1PROPOSAL();
// An amount in euros: round(100 x amount / rate) / 100 with halves to the even cent; 0 when the
// rate's value is at most 0.00001.
double DV1EURO(const std::string& amount, const std::string& rate);
// Entry on mask 84, then the two sheets (print-form id 110), each after its own question.
void DV1();

// ---- Documents of later parts of the system (they return at once until built) ---------------------
void CMRA(bool MAIN);
void CMRB(bool MAIN);
void N105(BOD::PRL& PA);
void BEYG();
void T5();

}  // namespace EKD3
