// The invoice end-to-end tests: the installation of the demo's companies with the euro rate and the
// demo's customers, and the way from the program's start to the invoices menu and back.
#pragma once
#include <string>

#include "helpers/fixture.h"
#include "helpers/tmux.h"
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

// From the program's start: the first company and the invoices menu (main-menu entry 6). False when
// a screen did not come.
inline bool toInvoicesMenu(TESTS::Tmux& t) {
    if (!t.waitFor("4.30")) return false;
    t.keys("Enter");
    if (!t.waitFor(INSTALL::demoCompanies()[0][0])) return false;
    t.text("6");
    return t.waitFor("ΠΙΣΤΩΤΙΚΑ ΤΙΜΟΛΟΓΙΑ");
}

// On a customer-name field: the customer found by the first letters TYPED, shown as NAME, then
// confirmed with Enter. False when it was not shown.
inline bool customer(TESTS::Tmux& t, const std::string& typed, const std::string& name) {
    t.text(typed);
    t.keys("Enter");
    if (!t.waitFor(name)) return false;
    t.keys("Enter");
    return true;
}

// From the program's start: a new invoice in the editor with its proposed number, today's date, no
// declaration and the customer ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ, the cursor on the amount of line 1. False
// when a screen did not come.
inline bool newInvoice(TESTS::Tmux& t) {
    if (!toInvoicesMenu(t)) return false;
    t.text("1");
    if (!t.waitFor("ΓΕΝΙΚΟ ΣΥΝΟΛΟ")) return false;
    t.keys("Enter");  // the proposed number
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    if (!customer(t, "αλε", "ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) return false;
    t.keys("Enter");  // reference of line 1
    return true;
}

// From the invoices menu back to the start screen and out: the program's exit code (-1 when a
// screen did not come).
inline int leave(TESTS::Tmux& t) {
    t.keys("Escape");
    if (!t.waitFor("7. ΠΕΛΑΤΕΣ")) return -1;
    t.keys("Escape");
    if (!t.waitFor("4.30")) return -1;
    t.keys("End");
    return t.waitExit();
}

}  // namespace INVOICESE2E
