// The segment writers that are not part of this installation yet write nothing, and no
// declaration has vehicles.
#include "submission/disket_writers.h"

namespace DISKET::WRITERS {

void BASEPRODUCTS(RUN&) {}
void VEHICLES(RUN&) {}
void TRANSITOFFICES(RUN&) {}
void TAXES(RUN&) {}
bool VEHICLECHECK(RUN&) { return false; }

}  // namespace DISKET::WRITERS
