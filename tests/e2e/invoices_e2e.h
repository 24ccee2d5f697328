// The invoice end-to-end tests: the installation of the demo's companies with the euro rate and the
// demo's customers (the way to the invoices menu and back is in demo_e2e.h).
#pragma once
#include <string>

#include "helpers/fixture.h"
#include "shell/install.h"
#include "shell/install_customers.h"

namespace INVOICESE2E {

// The installation in WORK (euro rate 340.75, item headings empty); the first company's folder.
inline std::string install(TESTS::TempWorkDir& work) {
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    const std::string dir = work.file("DATABASE/ARXEIO0");
    TESTS::writeFile(dir + "/NOM.DAT", INSTALL::codeTableImage("NOM", {"DATES|010120|311249", "@24", "EUR|ΕΥΡΩ|EUR|1||340.75"}));
    INSTALL::seedDemoCustomers(dir);
    return dir;
}

}  // namespace INVOICESE2E
