// DIAS: The declarations menu of one kind ("IMP", "EXP", "MTF", "MET", "DFK").
#pragma once
#include <string>

namespace DIAS {

void DIAZ(const std::string& kind);

}  // namespace DIAS
