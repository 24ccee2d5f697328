// The excise export of spirits and wines is not part of this installation yet: it returns at once.
#include "submission/diskoil.h"

namespace DISKOIL {

void MAKE_DISK_OIL(const std::string&, uint8_t, bool) {}

}  // namespace DISKOIL
