// The vehicle clearance certificate of documents-menu row 2 (module EKD2; kept in a file of its own
// beside the other certificates of the documents menu).
#pragma once
#include <string>

#include "declarations/bod.h"

namespace EKD2 {

// P, G the main page; PI, GI the item page (the main page or the loaded continuation sheet); PA a
// copy of the party block; GOODS the item page's goods record. Runs the vehicles editor, asks, and
// prints each copy as a job of its own on form 12.
void EKPM(BOD::SCB P, BOD::GGV G, BOD::SCB PI, BOD::GGV GI, const BOD::PRL& PA, const std::string& EXT,
          BOD::MOT& GOODS);

}  // namespace EKD2
