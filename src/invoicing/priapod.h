// PRIAPOD: the printed receipt, collection (form 62) or payment (form 63), on the printer set for
// its form.
#pragma once

#include "invoicing/apod0.h"

namespace PRIAPOD {

// Prints P as a collection receipt when MD is true, else as a payment receipt.
void PRINTAPOD(const APOD0::TRECAP* P, bool MD);
void PRINTAPODE1(const APOD0::TRECAP* P);
void PRINTAPODP1(const APOD0::TRECAP* P);

}  // namespace PRIAPOD
