// The fixture of the CMR notes, BEYG, T5, N105 and TIR tests: the document fixture's company with
// two customers, an export declaration stored through the store, the forms printing to the file
// port, and the menu runner.
#pragma once
#include "config/params.h"
#include "declarations/ekdo.h"
#include "documents/ekd3.h"
#include "documents/ekd4.h"
#include "screen/documents_fixture.h"

namespace EKD3TEST {

using namespace DOCTEST;

inline const std::vector<Customer> PARTIES = {
    {"ΑΛΦΑ ΑΕ", "094000001", "ΑΛΦΑ ΚΑΙ ΣΙΑ", "ΟΔΟΣ ΑΛΦΑ 1", "ΠΕΙΡΑΙΑΣ", "ΕΞΑΓΩΓΕΣ", "Α' ΠΕΙΡΑΙΑ", ""},
    {"ΒΗΤΑ ΟΕ", "094000003", "", "ΛΕΩΦΟΡΟΣ ΒΗΤΑ 2", "ΘΕΣΣΑΛΟΝΙΚΗ", "ΜΕΤΑΦΟΡΕΣ", "ΣΤ' ΘΕΣ/ΝΙΚΗΣ", ""},
};

class Ekd3 : public Docs {
protected:
    void SetUp() override {
        Docs::SetUp();
        addCustomers(0, PARTIES);
        UMAS::LOGOTYPO[8] = gr("ΘΕΣΣΑΛΟΝΙΚΗ ΛΙΜΑΝΙ");
        UMAS::TOTALXM = 1234.56;
        PARAMS::PERIGRAFES = {};
        PARAMS::PERIGRAFES[1] = gr("ΠΟΡΤΟΚΑΛΙΑ ΣΕ ΚΙΒΩΤΙΑ");
        PARAMS::PERIGRAFES[2] = gr("ΛΕΜΟΝΙΑ ΣΕ ΚΙΒΩΤΙΑ");
        BOD::PL.clear();
        for (int f : {UMAS::PE_CMRA, UMAS::PE_CMRB, UMAS::PE_BEBYG, UMAS::PE_T5, UMAS::PE_N105, UMAS::PE_TIR})
            toPort(f);
    }
    // The export declaration 2002 of the tests.
    void exportDeclaration(const std::string& number = "2002") {
        stored("EXP", number,
               {{6, "ΘΕΣΣΑΛΟΝΙΚΗ"}, {7, "1101"}, {8, "150324"}, {12, "ΑΛΦΑ ΑΕ"}, {13, "ΟΔΟΣ ΑΛΦΑ 1"},
                {14, "54625 ΘΕΣΣΑΛΟΝΙΚΗ"}, {22, "RECEIVER LTD"}, {23, "STREET 5"}, {24, "ISTANBUL"},
                {25, "TURKEY"}, {39, "ΕΛΛΑΔΑ"}, {43, "ISTANBUL"}, {46, "TRUCK NIK 1234"}, {68, "CT"},
                {69, "120"}, {70, "1"}, {72, "ORANGES"}, {73, "FRESH"}, {74, "IN BOXES"}, {75, "LINE 4"},
                {79, "08051020"}, {82, "1500"}, {86, "1400"}, {89, "12"}, {92, "N380:INV 77"}, {207, "ENDORSED"}});
    }
    // The document menu of the open declaration with the snaps' keys.
    void menu(const std::vector<std::function<void()>>& snaps, bool main = true) {
        run([&] { EKDO::EKD("EXP", main); }, snaps);
    }
    std::string data(const std::string& name) const { return TESTS::readFile(company(0) + "/" + name); }
    void setData(const std::string& name, const std::string& bytes) const {
        TESTS::writeFile(company(0) + "/" + name, bytes);
    }
    bool hasData(const std::string& name) const { return TESTS::exists(company(0) + "/" + name); }
    void keys(uint8_t scan, int n) {
        for (int i = 0; i < n; ++i) con->key(scan);
    }
};

}  // namespace EKD3TEST
