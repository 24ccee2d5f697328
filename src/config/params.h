// PARAMS: company selection, the parameter files and their editors, amount in words, calculator.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/umas.h"
#include "config/partim.h"

namespace PARAMS {

extern int MAXEKT;
extern int AREKTEL;
extern UMAS::FUN GM1;

std::string GETDATABASEPATH();
void INITEKT();
// Loads the company's tax table and invoice parameter tables (cleared first).
void loadCompanyTables();

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

// Invoice item headings, expenses-statement reasons and the declaration-to-invoice map, loaded at
// company choice and replaced by F1 in their editors.
extern TPARTIM1 PARTIM1;  // [1..18] string[40], file "PARTIM1"
extern TDEP DEP;          // [1..14] string[40]; the file "PARTIM2" fills [1..11]
extern TPARTIM3 PARTIM3;  // [1..22], file "PARTIM3"
// Reads the three files into the tables at company choice; a missing file leaves its entries empty
// (DEP[12..14] are not touched).
void loadInvoiceTables();

// The editors of the invoice parameters and of the form parameters.
void CALLPARTIM1();       // invoice item headings
void CALLPARTIM2();       // expenses-statement reasons
void CALLPARTIM3();       // declaration-to-invoice map
void CALLPARTIM4();       // invoice print layout
void CALLPARTIM5(int N);  // document field map N (0..4)
void CALLPARTIM6(int N);  // document print layout N (2..10)
void CALLPARTIM7();       // electronic-format field tables
void SEIRES(int N);       // numbering series: 0 invoices, 1 credit notes

}  // namespace PARAMS
