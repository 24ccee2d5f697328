// FORMIX: the settings of the fiscal signing server. The signing settings and their editor come
// with the invoicing module; until then both routines return at once.
#include "invoicing/formix.h"

namespace FORMIX {

void READFORMIXPATH() {}

void EDITFORMIXPATH() {}

}  // namespace FORMIX
