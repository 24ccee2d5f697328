// The per-item side-data editors are not part of this installation yet: they return at once.
#include "documents/ekextra.h"

namespace EKEXTRA {

void AYT(BOD::SCB, BOD::GGV, int, int, const std::string&, const std::string&, BOD::MOT&) {}
void SYSKEYASIES(BOD::SCB, BOD::GGV, int, BOD::MOT&) {}
void GIVEVASIS(BOD::SCB, BOD::GGV, int) {}
void KRASIA(BOD::SCB, BOD::GGV, int) {}

}  // namespace EKEXTRA
