// EKD4: the TIR carnet and its registration application.
#pragma once
#include <string>
#include <vector>

#include "documents/ekd3.h"
#include "documents/laydoc.h"

namespace EKD4 {

// The carnet's 43 fields over mask 121 (field: column, row, length), [1..43].
std::vector<LAYDOC::Field> TIRGRID();
// The fill by general switch 18: 1 the box map "PARD2TIR", 2 the CMR note B record CMR (nothing
// when it is null), any other value the fixed fill. Fields it does not set keep their text.
void TIRFILL(LAYDOC::Values& v, const EKD3::Record* CMR);
// The values file of the carnet: the declaration number (box 1 trimmed, "temp" when empty) + ".tir".
std::string TIRFILE();
// The TIR carnet of the current declaration (print-form id 118); CMR is the record of the CMR note B
// that opened it, null from the documents menu.
void TIR(const EKD3::Record* CMR);

// The registration application: 29 fields over mask 122 kept in the number + ".ait".
std::vector<LAYDOC::Field> AITGRID();
std::string AITFILE();
// The fixed two-column print of the application (after the question on mask 63).
void PRINTAIT(const LAYDOC::Values& v);
void AITISI();

}  // namespace EKD4
