// EKDILO: the cargo manifest of the current declaration.
#pragma once

#include "declarations/bod.h"

namespace EKDILO {

// The cargo manifest (print-form id 116) from the documents menu: the item page the menu was
// opened from, its box table and the party block.
void DILO(BOD::SCB PI, BOD::GGV GI, BOD::PRL& PA);

}  // namespace EKDILO
