// DISKET: the submission run's entry for documents that hand their own lines to it.
#pragma once
#include <string>
#include <vector>

namespace DISKET {

// The submission run of kind EXT in mode MODE over the lines of a document (mode 2: the 35 lines of
// the D.A.O., LINES[1..35]); TEST for the customs authority's test system.
void MAKE_DISK(const std::string& EXT, int MODE, const std::vector<std::string>& LINES, bool TEST);

}  // namespace DISKET
