// The demo installation driven through the real program in a terminal: the installation with the
// submission's tables, a new declaration of a kind, and the walk box by box filling boxes on the way.
#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "declarations/bod.h"
#include "declarations/store_form.h"
#include "helpers/fixture.h"
#include "helpers/tmux.h"
#include "platform/fatal.h"
#include "shell/install.h"

namespace DEMOE2E {

// The demo installation in WORK with the field tables and output folders of the submissions and
// the export counter; "ANAF.DAT" holds ANAF when it is given.
inline void install(TESTS::TempWorkDir& work, const std::string& anaf = "") {
    INSTALL::makeInstallation(work.path(), "DATABASE", INSTALL::demoCompanies(), KORVEX_MSK);
    INSTALL::seedSubmission(work.path(), work.file("DATABASE/ARXEIO0"),
                            std::string(KORVEX_SOURCE_DIR) + "/data/demo/tables/eformats");
    INSTALL::makeExportCounter(work.file("DATABASE"));
    if (!anaf.empty()) TESTS::writeFile(work.file("DATABASE/ARXEIO0/ANAF.DAT"), anaf + "\r\n");
}

// The demo installation as `make run` lays it out (mkdemo), with the official code lists it ships,
// in WORK. False when mkdemo failed.
inline bool layOutDemo(TESTS::TempWorkDir& work) {
    return std::system((std::string(KORVEX_BINARY_DIR) + "/mkdemo " + KORVEX_SOURCE_DIR + "/data/demo " + KORVEX_MSK +
                        " " + work.path() + " >/dev/null")
                           .c_str()) == 0;
}

// From the program's start: the company COMPANY and its invoices menu (main-menu entry 6). False
// when a screen did not come.
inline bool toInvoicesMenu(TESTS::Tmux& t, const std::string& company = INSTALL::demoCompanies()[0][0]) {
    if (!t.waitFor("4.30")) return false;
    t.keys("Enter");
    if (!t.waitFor(company)) return false;
    t.text("6");
    return t.waitFor("ΠΙΣΤΩΤΙΚΑ ΤΙΜΟΛΟΓΙΑ");
}

// From the program's start: the company COMPANY and the invoice editor of the invoices menu. False
// when a screen did not come.
inline bool openInvoiceEditor(TESTS::Tmux& t, const std::string& company = INSTALL::demoCompanies()[0][0]) {
    if (!toInvoicesMenu(t, company)) return false;
    t.text("1");
    return t.waitFor("ΓΕΝΙΚΟ ΣΥΝΟΛΟ");
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

// In the invoice editor's number field: a new invoice with the proposed number, today's date, no
// declaration, for the demo customer found by "αλε" and confirmed; the cursor is then past the
// reference text of line 1, on its amount. False when the customer did not come.
inline bool newInvoiceForAlexiou(TESTS::Tmux& t) {
    t.keys("Enter");  // the proposed number
    t.keys("Enter");  // today
    t.keys("Enter");  // no declaration
    if (!customer(t, "αλε", "ΑΛΕΞΙΟΥ ΚΩΝΣΤΑΝΤΙΝΟΣ")) return false;
    t.keys("Enter");  // the reference text of line 1
    return true;
}

// From the invoices menu out of the main menu (its own key legend tells that it has the keys, as it
// shows behind the invoices menu too) to the start screen, and the program ended there with End:
// its exit code, or -1 when a screen did not come.
inline int endFromInvoicesMenu(TESTS::Tmux& t) {
    t.keys("Escape");
    if (!t.waitFor("1-9→Επιλογή")) return -1;
    t.keys("Escape");
    if (!t.waitFor("4.30")) return -1;
    t.keys("End");
    return t.waitExit();
}

// From the invoice editor's number field back to the invoices menu, then as endFromInvoicesMenu.
inline int endFromInvoiceEditor(TESTS::Tmux& t) {
    t.keys("Escape");
    if (!t.waitFor("ΑΠΟΔΕΙΞΕΙΣ ΠΛΗΡΩΜΗΣ")) return -1;
    return endFromInvoicesMenu(t);
}

// The program started with its clock at 10 December 2026, 09:05, workstation 1.
inline std::string fixedClockCommand(const std::string& env = "") {
    return TESTS::fixedClockEnv("2026-12-10 09:05:00") + env + (env.empty() ? "" : " ") + KORVEX_BIN + " 1";
}

// From the program's start: the first company, the main menu's entry DIGIT (whose list shows
// HEADING), Enter for a new declaration, and its NUMBER typed into box 1. False when a screen
// did not come.
inline bool newDeclaration(TESTS::Tmux& t, const std::string& digit, const std::string& heading, const std::string& number) {
    if (!t.waitFor("4.30")) return false;
    t.keys("Enter");
    if (!t.waitFor(INSTALL::demoCompanies()[0][0])) return false;
    t.text(digit);
    if (!t.waitFor(heading)) return false;
    t.keys("Enter");
    if (!t.waitFor("αα   1")) return false;
    t.text(number);
    return true;
}

// Enter box by box until the help line names LAST ("αα  85"), typing each text of FILL when the
// help line names its box. False when LAST did not come.
inline bool fillTo(TESTS::Tmux& t, const std::string& last, const std::vector<std::pair<std::string, std::string>>& fill) {
    for (int i = 0; i < 120; ++i) {
        const std::string sc = t.screen();
        if (sc.find(last) != std::string::npos) break;
        for (const auto& [at, text] : fill)
            if (sc.find(at) != std::string::npos) t.text(text);
        t.keys("Enter");
        usleep(15000);
    }
    return t.waitFor(last);
}

// Field by field: each text of TEXTS typed (an empty one leaves the field as it is), then Enter.
inline void typeFields(TESTS::Tmux& t, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        if (!text.empty()) t.text(text);
        t.keys("Enter");
        usleep(50000);
    }
}

// A declaration of KIND numbered NUMBER, dated HM (ddmmyy, box 8), with BOXES filled, stored by
// this process through the store into the first company of the installation in the current folder.
inline bool storeDeclaration(const std::string& kind, const std::string& number, const std::string& HM,
                             const std::vector<std::pair<int, std::string>>& boxes) {
    PLAT::setThrowOnExit(true);
    TESTS::headless();
    TESTS::loadMasks();
    UMAS::PATH = "DATABASE\\ARXEIO0\\";
    if (!BOD::SETFORM(kind)) return false;
    for (int b = 1; b <= BOD::BOXES; ++b) BOD::BOS(BOD::DIA, BOD::GV, b, "");
    BOD::BOS(BOD::DIA, BOD::GV, 1, number);
    BOD::BOS(BOD::DIA, BOD::GV, 8, HM);
    for (const auto& [b, text] : boxes) BOD::BOS(BOD::DIA, BOD::GV, b, text);
    BOD::TM = UMAS::LEJU(number, 10);
    BOD::HM = HM;
    BOD::AY = BOD::MOT{};
    BOD::PR = BOD::NO_CUSTOMER;
    BOD::BOO = false;
    BOD::CSM = -1;
    return EK0::KATD().stored;
}

// The content of the file at PATH once it satisfies DONE: the program may write a file a moment
// after the screen before it shows. After timeoutMs the content as it then is (empty when missing),
// for the caller's check to fail on.
inline std::string fileOnce(const std::string& path, const std::function<bool(const std::string&)>& done,
                            int timeoutMs = 20000) {
    for (int waited = 0;; waited += 50) {
        const std::string got = TESTS::exists(path) ? TESTS::readFile(path) : std::string();
        if (done(got) || waited >= timeoutMs) return got;
        usleep(50000);
    }
}

// What the port file at PATH holds once a printout longer than BEFORE bytes has ended (form feed),
// from byte BEFORE on.
inline std::string printedAfter(const std::string& path, size_t before) {
    const std::string all =
        fileOnce(path, [before](const std::string& s) { return s.size() > before && s.back() == '\x0c'; });
    return all.size() > before ? all.substr(before) : std::string();
}

// True once the file at PATH holds something (a printout handed to a port file).
inline bool waitNonEmpty(const std::string& path) {
    return !fileOnce(path, [](const std::string& s) { return !s.empty(); }).empty();
}

// The stand-in signing server started with ARGS in the current folder, for as long as the object
// lives.
class SigningServer {
public:
    explicit SigningServer(const std::vector<std::string>& args) {
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv{const_cast<char*>("signsrv")};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(KORVEX_SIGNSRV, argv.data());
            _exit(127);
        }
    }
    SigningServer(const SigningServer&) = delete;
    SigningServer& operator=(const SigningServer&) = delete;
    ~SigningServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_;
};

}  // namespace DEMOE2E
