// The operations of the field codes that compute or check a value of the segment file: the header
// checks and party fields, and the item value, description and reference pieces. Each works on the
// run: a value operation leaves the row's value in R.BS; a check works on the trimmed R.BS.
#pragma once
#include <string>

#include "submission/disket_run.h"

namespace DISKET {

// ---- Shared helpers ----------------------------------------------------------------------------
// copy(s, p, n): the n characters of s from position p (1-based), fewer when s is shorter.
std::string copy(const std::string& s, size_t p, size_t n);
// ddmmyy as 20yymmdd; dd/mm/yy as 20yymmdd.
std::string date6(const std::string& s);
std::string date8(const std::string& s);
// A number with the given decimals, no padding ("1244.50"); any size, no overflow.
std::string FIXED(double v, int decimals);
// The nearest whole number of v, held to ±1e15 so that any size compares without overflow.
double ROUNDED(double v);
// True when the first two characters of s are capital Latin letters (one character fails).
bool LATIN2(const std::string& s);
// A code looked up in a list text of the catalogue: an empty code is never found.
bool INLIST(const std::string& code, int message);
// s cut two places after its first point (unchanged without a point).
std::string TWODECIMALS(const std::string& s);
// One or more digits with at most one point ("12,5" and "-3" are not).
bool DECIMALNUMBER(const std::string& s);
// A permit date ddmmyy as yyyymmdd, or yyyy-mm-dd with dashes; the century is 19 for the years 70
// to 99. An empty date stays empty.
std::string PERMITDATE(const std::string& ddmmyy, bool dashes);

// ---- Header checks and party fields ------------------------------------------------------------
void GET_IDIOS(RUN& R);
// Another declarant's tax number: the warning on mask 49, until Esc.
void DECLARANTWARNING();
void EORI_APOS(RUN& R);
void EORI_PARAL(RUN& R);
void CHECKXORAEX(RUN& R);
void CHECKXORAMET(RUN& R);
void CHECKXORANOM(RUN& R);
void CHECKTROPOMET(RUN& R);
void WRITETELONIOEX(RUN& R);
void KATHESTOS(RUN& R);
void WRITEIMCOM(RUN& R);
void WRITEKATHESTOS_37B(RUN& R);
void TYPOS_APOTHIKIS(RUN& R);
void XORA_APOTHIKIS(RUN& R);
void ETHNIKI_FOROLOGIA(RUN& R);
void SIMIA(RUN& R);
void SIMIA2(RUN& R);

// ---- Item value, description and reference pieces ----------------------------------------------
void GETAXIA(RUN& R);
void WRITEISOTIMIA(RUN& R);
void EMPOREYMATA(RUN& R);
void WRITEARIANAF(RUN& R);
void WRITEANAFDAO(RUN& R);
void WRITEANAFDIL(RUN& R);
void WRITETYPOSDAO(RUN& R);
void HMERDAO(RUN& R);
void DAONUM(RUN& R);
void GETXORISDAO(RUN& R);
void WRITEPLESIO(RUN& R);
void ARKYKLOFORIAS(RUN& R);
void WRITEEIDOSFORTO(RUN& R);
void KATASDILO(RUN& R);

// ---- Item units and delivery terms ---------------------------------------------------------------
// Row 89: the quantity of the item's supplementary units; row 890: their code, checked.
void WRITESYMMONADES(RUN& R);
void WRITEMONADES(RUN& R);
// Row 49: the delivery terms (the trimmed value) checked against the list of message 96.
void FOBCIF(RUN& R);

}  // namespace DISKET
