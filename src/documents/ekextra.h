// EKEXTRA: the side-data editors of a declaration (vehicles, packages, containers, tax bases,
// wine lines, additional codes, transport document, TIR data, transit carrier, guarantees, box 44).
#pragma once
#include <string>

#include "declarations/bod.h"

namespace EKEXTRA {

void AYT(BOD::SCB DI, BOD::GGV G, int VC, int KLASI, const std::string& CODEKLASI, const std::string& EXT,
         BOD::MOT& MAC);
void SYSKEYASIES(BOD::SCB DI, BOD::GGV G, int VC, BOD::MOT& MAC);
void CONTAINER_NUMS(bool B);
void GIVEVASIS(BOD::SCB DI, BOD::GGV G, int VC);
void KRASIA(BOD::SCB DI, BOD::GGV G, int VC);
void GIVEPROSTHETA();
void EGGMETAF();
void STOIXIA_TIR();
void T1_ASFAL();
void EGGIMP();
void DIAM44();
void AYTEXTRA();

}  // namespace EKEXTRA
