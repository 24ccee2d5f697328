// The segment writers the row engine starts: each writes whole segments (a line end, the head and
// its fields, through RUN::put) and the error lines of its checks into the run.
#pragma once
#include "submission/disket_run.h"

namespace DISKET::WRITERS {

// Before the value of the row (the row itself writes nothing more).
void BASEPRODUCTS(RUN& R);     // 1119, 3119: base-product segments
void PREVDOCS(RUN& R);         // 1030 (not in mode 4), 3130: previous-document segments
void ATTACHEDDOCS(RUN& R);     // 3125: attached-document segments of the item
void SPECIALMENTIONS(RUN& R);  // 3127: special-mention segments
void SEG3122(RUN& R);          // 3122: the 3122 segments
void VEHICLES(RUN& R);         // 1120, 3120 (with vehicles), 1112, 1126: vehicle segments

// Rows consumed in place of a segment head.
void CONTAINERS(RUN& R);       // 1025, 3126: container numbers
void GUARANTEENUMS(RUN& R);    // 3180: guarantee numbers of an import
void CARRIER(RUN& R);          // 1080: the transit carrier
void GUARANTEE(RUN& R);        // 1032: the guarantee (modes other than 4 and 8)
void TRANSITOFFICES(RUN& R);   // 1021: offices of transit
void TRANSITDOCS44(RUN& R);    // 1029: transit box-44 documents
void TRANSITPACKAGES(RUN& R);  // 1026, 3128: transit packages

// The value of row 980: the tax segments of the item.
void TAXES(RUN& R);
// After row 100 in mode 5: the item's description lines in the log.
void DESCLOG(RUN& R);

// The vehicle check before a run: true when the declaration has vehicles.
bool VEHICLECHECK(RUN& R);

}  // namespace DISKET::WRITERS
