// The documents menu and the box-40 list are not part of this installation yet: they return at once.
#include "declarations/ekdo.h"

namespace EKDO {

void EKD(const std::string&, bool) {}
void DILOTIKO(int, std::string&) {}

}  // namespace EKDO
