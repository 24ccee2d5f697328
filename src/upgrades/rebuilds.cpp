// The upgrades find out by themselves whether their file needs work. The layouts they convert
// belong to the code tables, customers, declarations and invoices; until those files exist in this
// installation there is nothing to convert and each routine returns at once.
#include "upgrades/rebuilds.h"

namespace REBUILDS {

void REB_POL() {}
void REB_PELAT(const std::string&) {}
void REB_NOM() {}
void REB_NOM_2() {}
void REB_PRE() {}
void REB_TAX() {}
void REB_PEMP() {}
void REB_PRE2() {}
void REB_PARDISK() {}
void REB_PARAUTO() {}
void REB_EMPOR() {}
void REB_TIMOL() {}
void REB_TIMEAFDSS() {}
void CREATESEIRES() {}
void REIDEX_PELAT(const std::string&) {}
void REIDEX_PEL2(const std::string&) {}
void REB_TAX2() {}
void REBQPAR(const std::string&) {}
void REB2010() {}
void REB_DISI_BISI() {}
void REB_DIPE() {}
void REB_DISI_2() {}
void REB_TEL() {}
void REB_APODI() {}

}  // namespace REBUILDS
