// The declarations menu of one kind ("IMP", "EXP", "MTF", "MET", "DFK"). Its screens are not part of this installation yet: it returns at once.
#include "declarations/dias.h"

namespace DIAS {

void DIAZ(const std::string&) {}

}  // namespace DIAS
