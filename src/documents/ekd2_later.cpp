// The vehicle clearance certificate is not part of this installation yet: it returns at once.
#include "documents/ekd2.h"

namespace EKD2 {

void EKPM(BOD::SCB, BOD::GGV, BOD::SCB, BOD::GGV, BOD::PRL, const std::string&, BOD::MOT&) {}

}  // namespace EKD2
