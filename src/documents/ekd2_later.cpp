// The vehicle certificates and the D.A.O. are not part of this installation yet: they return at once.
#include "documents/ekd2.h"

namespace EKD2 {

void EKPA(BOD::SCB, BOD::GGV, BOD::PRL&, BOD::MOT&) {}
void EKPM(BOD::SCB, BOD::GGV, BOD::SCB, BOD::GGV, BOD::PRL, const std::string&, BOD::MOT&) {}
void DAO(BOD::SCB, BOD::GGV, BOD::PRL&, BOD::MOT&) {}

}  // namespace EKD2
