// The code tables menu. Its screens are not part of this installation yet: it returns at once.
#include "codes/kvdi.h"

namespace KVDI {

void KVD() {}

}  // namespace KVDI
