// EKBODI: the alternate print view of the open declaration and the excise question.
#pragma once
#include <cstdint>
#include <string>

namespace EKBODI {

void BODI(int YPOD, const std::string& EXT);
// What an excise export is for: 0 spirits and wines, 1 cars.
uint8_t TYPOSDEFK();

}  // namespace EKBODI
