// The continuation-sheet editor, the documents menu and the box-40 list are not part of this
// installation yet: they return at once.
#include "declarations/ekdo.h"

namespace EKDO {

void CBIS(const std::string&) {}
void EKD(const std::string&, bool) {}
void DILOTIKO(int, std::string&) {}

}  // namespace EKDO
