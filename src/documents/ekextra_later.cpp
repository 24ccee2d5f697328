// The side-data editors are not part of this installation yet: they return at once.
#include "documents/ekextra.h"

namespace EKEXTRA {

void AYT(BOD::SCB, BOD::GGV, int, int, const std::string&, const std::string&, BOD::MOT&) {}
void SYSKEYASIES(BOD::SCB, BOD::GGV, int, BOD::MOT&) {}
void CONTAINER_NUMS(bool) {}
void GIVEVASIS(BOD::SCB, BOD::GGV, int) {}
void KRASIA(BOD::SCB, BOD::GGV, int) {}
void GIVEPROSTHETA() {}
void EGGMETAF() {}
void STOIXIA_TIR() {}
void T1_ASFAL() {}
void EGGIMP() {}
void DIAM44() {}
void AYTEXTRA() {}

}  // namespace EKEXTRA
