// DISKOIL: the excise export of spirits and wines.
#pragma once
#include <cstdint>
#include <string>

namespace DISKOIL {

void MAKE_DISK_OIL(const std::string& EXT, uint8_t EDE, bool TESTENV);

}  // namespace DISKOIL
