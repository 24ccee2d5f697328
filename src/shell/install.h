// Laying out an installation: the working folder, the database folder with its company list and
// company folders. Used by the demo installer and by the tests' fixtures. Paths are Linux paths.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "config/params.h"

namespace INSTALL {

// The nine lines of one company in "KORVEX.INI" (UTF-8 here, CP737 on disk).
using Company = std::array<std::string, 9>;

// Files are written only where they are missing, so an installation in use keeps its data.
// A company folder as installed: the lock files, the in-use files and the parameter files.
void makeCompanyFolder(const std::string& dir);
// The working folder: "DATABASE.TXT" naming dbName + "\", "ETC", the mask file copied from msk
// (when not empty; always replaced), and the database folder with "KORVEX.INI" and one folder per company.
void makeInstallation(const std::string& workDir, const std::string& dbName, const std::vector<Company>& companies,
                      const std::string& msk);
// The two fictional companies of the demo.
std::vector<Company> demoCompanies();
// The signing settings "formi_01.txt" of a company (only where missing): the exchange folder as the
// program names it (dosFolder), the terminal number, no device fault and the serial number; the
// folder itself (linuxFolder, relative to the working folder) is created.
void makeSigningSettings(const std::string& workDir, const std::string& companyDir, const std::string& dosFolder,
                         const std::string& linuxFolder, int terminal, const std::string& serial);
// Writes text (UTF-8) as a CP737 file with CR LF line ends (only where the file is missing).
void writeCp737Text(const std::string& path, const std::vector<std::string>& utf8Lines);

// The code tables of a company folder: every table file (and the goods details) where missing,
// at its size and empty.
void makeCodeTables(const std::string& dir);
// A table's file image (name as "APO", "NOM", ...) from source lines (UTF-8): one record a line,
// fields between "|" in record order; "@n" makes record n the next one; "DATES|from|to" sets the
// validity dates of a dated table; empty lines and lines starting with "#" are skipped.
std::string codeTableImage(const std::string& name, const std::vector<std::string>& lines);
// Fills the tables of dir that are still empty as installed from srcDir/NAME.txt.
void seedCodeTables(const std::string& dir, const std::string& srcDir);
// Writes text (UTF-8) as a Windows-1253 file with CR LF line ends (only where the file is missing).
void writeCp1253Text(const std::string& path, const std::vector<std::string>& utf8Lines);

// The image of a field table of an electronic format (220 rows of RECPARTIM7) from source lines
// (UTF-8): "row|code|name|status|length|type|literal", rows 1..220 in any order, rows not given
// empty; empty lines and lines starting with "#" are skipped.
std::string fieldTableImage(const std::vector<std::string>& utf8Lines);
// The submission's part of a company folder: every srcDir/NAME.txt as the tables "N" and "Q" + NAME
// + ".dat" where they are still empty as installed, "ASCI_OUT.TXT" from srcDir (its folders on
// drive C: created below workDir), "ANAF.DAT" holding 0 where missing, and the customs client's
// folders "C:\jicis" and "C:\trial_jicis".
void seedSubmission(const std::string& workDir, const std::string& companyDir, const std::string& srcDir);
// The export counter "HDD.DAT" of the installation (a count of 0) where missing.
void makeExportCounter(const std::string& databaseDir);

// The series table a company is installed with: slot 1 (documents without a series) numbers from 1
// and prints one copy with the default print settings (page length 66, "LPT1"); and its file image.
PARAMS::SEIRESTABLE installedSeries();
std::string seriesImage(const PARAMS::SEIRESTABLE& t);

// The invoice parameter files from text sources (UTF-8; empty lines and lines starting with "#"
// skipped; fields between "|"). Item tables ("PARTIM1", "PARTIM2"): "entry|text". A box map (the
// detail-line map "PARTIM3", a document's "PARD2..."): "line|box|caption". A print layout ("PARTIM4",
// a document's "PAR..."): "field|caption|column|row" and optionally "|SA1|SA2|ST2|ST1". Entries not
// given stay empty; a bad line throws.
std::string itemTableImage(const std::string& srcFile, size_t entries);
std::string boxMapImage(const std::string& srcFile, size_t entries);
std::string layoutImage(const std::string& srcFile, size_t entries);
// Fills "PARTIM1" to "PARTIM4" of a company folder from srcDir/PARTIM1.txt .. PARTIM4.txt, the box
// maps "PARD2in1" and "PARD2in2" of the export invoices from srcDir/PARD2in1.txt and PARD2in2.txt
// and their layouts "PARinv1" and "PARinv2" from srcDir/PARinv.txt, each where it is missing or
// still empty as installed.
void seedInvoicing(const std::string& companyDir, const std::string& srcDir);
// Fills the print layouts of the other layout-driven documents (the vehicle certificate "PARPITA",
// the D.A.O. "PARDDD", the cargo manifest "PARDILL", EUR.1 "PAREUR1", the zone application "PARZON"
// and "PARZOB") and the box maps "PARD2EUR" and "PARD2ZON" of a company folder from srcDir/<name>.txt,
// each where it is missing or still empty as installed.
void seedDocuments(const std::string& companyDir, const std::string& srcDir);
// The unnamed series of invoices and credit notes where still as installed: printed on "LPT1" as
// EpsonFX in `copies` copies, each signed when signs; and the credit-note files where missing.
void setupSeries(const std::string& companyDir, uint8_t copies, bool signs);

}  // namespace INSTALL
