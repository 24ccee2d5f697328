// The customers menu and their reports. Its screens are not part of this installation yet: it returns at once.
#include "customers/arpel.h"

namespace ARPEL {

void PELA() {}

}  // namespace ARPEL
