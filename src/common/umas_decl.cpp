// The totals and in-memory side data of the open declaration.
#include "common/umas.h"
#include "config/params.h"

namespace UMAS {

int32_t TOTALKOLA = 0;
double TOTALAXIA = 0, TOTALXM = 0, TOTALXK = 0;
std::array<TRECPROS, 4> RECPROS;
std::array<std::string, 7> EXTRA_OXIMATA;
std::array<std::string, 6> EGG_IMP_NUM;
std::array<std::string, 6> EGG_IMP_POSO;
std::array<std::string, 5> T1_METAF_ASF;

}  // namespace UMAS

namespace PARAMS {

std::array<std::string, 21> PERIGRAFES;

}  // namespace PARAMS
