// The CMR notes, form N105, form BEYG and the T5 control copy are not part of this installation
// yet: they return at once.
#include "documents/ekd3.h"

namespace EKD3 {

void CMRA(bool) {}
void CMRB(bool) {}
void N105(BOD::PRL&) {}
void BEYG() {}
void T5() {}

}  // namespace EKD3
