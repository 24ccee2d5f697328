// The box-40 list is not part of this installation yet: it returns at once.
#include "declarations/ekdo.h"

namespace EKDO {

void DILOTIKO(int, std::string&) {}

}  // namespace EKDO
