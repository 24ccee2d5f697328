// The submission run is not part of this installation yet: it returns at once. (Weak, so that the
// run's own definition takes its place when it is linked in.)
#include "submission/disket_make.h"

namespace DISKET {

__attribute__((weak)) void MAKE_DISK(const std::string&, int, const std::vector<std::string>&, bool) {}

}  // namespace DISKET
