// The lists of the declarations menu (by customer, by date, the search, the templates) are not part
// of this installation yet: they return at once.
#include <string>

namespace DIAS {

void DIAP(const std::string&) {}
void DIAH(const std::string&) {}
void ANAZHTHSH(const std::string&) {}
void YPDI(const std::string&) {}

}  // namespace DIAS
