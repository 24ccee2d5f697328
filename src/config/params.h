// PARAMS: company selection, the parameter files and their editors, amount in words, calculator.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/umas.h"

namespace PARAMS {

extern int MAXEKT;
extern int AREKTEL;
extern UMAS::FUN GM1;

std::string GETDATABASEPATH();
void INITEKT();

// Reads the parameter file SF of the company folder into the table P of size bytes (a longer
// file fills only the table; a shorter one its start). A missing file writes the line
// "file not found <path> call VALTERO" at the cursor and leaves the table unchanged (returns false).
bool RUFPAR(const std::string& SF, uint8_t* P, size_t size);
// Writes size bytes from P as the whole parameter file SF (atomic).
void KATPAR(const std::string& SF, const uint8_t* P, size_t size);
void ZER(std::string& S);

void CALLPAREDE();
void PARMEN();
void PARMEN_PAREXOD();
void PARMEN_PARENTYPON();

void OLOG(const std::string& PO, int NOMMODE, int LEPMODE, std::string& OL);
void CALC(std::string& R);

}  // namespace PARAMS
