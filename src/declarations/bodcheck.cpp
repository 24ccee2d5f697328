// BOD: checking the form records of the mask file.
#include "declarations/bod.h"

namespace BOD {

std::string CHECKFORMRECORDS(const std::vector<UMAS::CONV>&) { return ""; }

std::vector<std::string> CHECKFORM(const std::vector<UMAS::CONV>&) { return {}; }

}  // namespace BOD
