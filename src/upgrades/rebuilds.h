// REBUILDS: the conversions of older data-file layouts that run after every company choice.
#pragma once
#include <string>

namespace REBUILDS {

void REB_POL();
void REB_PELAT(const std::string& FN);
void REB_NOM();
void REB_NOM_2();
void REB_PRE();
void REB_TAX();
void REB_PEMP();
void REB_PRE2();
void REB_PARDISK();
void REB_PARAUTO();
void REB_EMPOR();
void REB_TIMOL();
void REB_TIMEAFDSS();
void CREATESEIRES();
void REIDEX_PELAT(const std::string& FN);
void REIDEX_PEL2(const std::string& FN);
void REB_TAX2();
void REBQPAR(const std::string& FN);
void REB2010();
void REB_DISI_BISI();
void REB_DIPE();
void REB_DISI_2();
void REB_TEL();
void REB_APODI();

}  // namespace REBUILDS
