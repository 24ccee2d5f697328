// The tables whose screens are not part of this installation yet: they return at once.
#include "codes/kvdi.h"

namespace KVDI {

void NOM(RECNOM&, bool, const std::string&, uint8_t& KK) { KK = 3; }
void POL(RECPOL&, bool, uint8_t& KK) { KK = 3; }
void EMP(RECEMP&, bool, uint8_t& KK) { KK = 3; }
void TEL(RECTEL&, bool, uint8_t& KK) { KK = 3; }
void TRM(RECTRM&, bool, uint8_t& KK) { KK = 3; }
void PER(RECPER&, bool, uint8_t& KK) { KK = 3; }
void TRP(RECTRP&, bool, uint8_t& KK) { KK = 3; }
void PRE(RECPREB&, bool, uint8_t& KK) { KK = 3; }
void MON(RECMON&, bool, uint8_t& KK) { KK = 3; }
void SYS(RECSYS&, bool, uint8_t& KK) { KK = 3; }
void SFR(RECSFR&, bool, uint8_t& KK) { KK = 3; }
void KAY(RECKAY&, bool, const std::string&, uint8_t& KK) { KK = 3; }
void PROSTHETA(RECPROSTHETA&, bool, uint8_t& KK) { KK = 3; }

}  // namespace KVDI
