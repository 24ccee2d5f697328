// The segment writers that are not part of this installation yet write nothing, and no
// declaration has vehicles.
#include "submission/disket_writers.h"

namespace DISKET::WRITERS {

void BASEPRODUCTS(RUN&) {}
void PREVDOCS(RUN&) {}
void ATTACHEDDOCS(RUN&) {}
void SPECIALMENTIONS(RUN&) {}
void VEHICLES(RUN&) {}
void CONTAINERS(RUN&) {}
void GUARANTEENUMS(RUN&) {}
void CARRIER(RUN&) {}
void GUARANTEE(RUN&) {}
void TRANSITOFFICES(RUN&) {}
void TRANSITDOCS44(RUN&) {}
void TRANSITPACKAGES(RUN&) {}
void TAXES(RUN&) {}
bool VEHICLECHECK(RUN&) { return false; }

}  // namespace DISKET::WRITERS
