// ARPEL: The customers menu and their reports.
#pragma once
#include <string>

namespace ARPEL {

void PELA();

}  // namespace ARPEL
