// The customer of a declaration: the lookup by name (BOD::CHEP) over mixed Greek and Latin names,
// and the customer boxes of the editor (typed name completed, Down stepping, the picker, the party
// lines written around the name).
#include <random>

#include "customers/pelat.h"
#include "declarations/chep.h"
#include "screen/ek0_rules_fixture.h"

using namespace RULETEST;

namespace {

// In collation order: Greek Α before Latin A before Greek Β before Latin B ... the digits last.
const std::vector<Customer> DOMESTIC = {
    {"ΩΜΕΓΑ ΕΠΕ", "094000005", "", "ΟΔΟΣ Ω 5", "ΒΟΛΟΣ", "ΕΜΠΟΡΙΑ", "ΒΟΛΟΥ", ""},
    {"ALPHA LTD", "094000002", "", "ALPHA STREET 2", "ΑΘΗΝΑ", "ΕΙΣΑΓΩΓΕΣ", "Α' ΑΘΗΝΩΝ", ""},
    {"1ST CO", "094000006", "", "ΟΔΟΣ 6", "ΠΑΤΡΑ", "", "", ""},
    {"ΒΗΤΑ ΟΕ", "094000003", "ΒΗΤΑ ΚΑΙ ΣΙΑ", "ΛΕΩΦΟΡΟΣ ΒΑΣΙΛΙΣΣΗΣ ΣΟΦΙΑΣ 123", "ΘΕΣΣΑΛΟΝΙΚΗ", "ΜΕΤΑΦΟΡΕΣ",
     "ΣΤ' ΘΕΣ/ΝΙΚΗΣ", ""},
    {"ΑΛΦΑ ΑΕ", "094000001", "", "ΟΔΟΣ ΑΛΦΑ 1", "ΠΕΙΡΑΙΑΣ", "ΕΙΣΑΓΩΓΕΣ", "Α' ΠΕΙΡΑΙΑ", ""},
    {"BETA SA", "094000004", "", "BETA 4", "ΧΑΝΙΑ", "ΤΡΟΦΙΜΑ", "ΧΑΝΙΩΝ", ""},
};
const std::vector<Customer> FOREIGN = {
    {"GAMMA GMBH", "", "", "HAUPTSTRASSE 7", "MUENCHEN", "HANDEL", "", "DE123456789"},
    {"DELTA SRL", "", "", "VIA ROMA 3", "MILANO", "", "", "IT998877"},
};

class Party : public Rules {
protected:
    void SetUp() override {
        Rules::SetUp();
        addCustomers(0, DOMESTIC);
        addCustomers(1, FOREIGN);
    }
    // Record number of a customer by name.
    uint16_t number(int MN, const char* name) {
        ARP0::EA = ARP0::KEY(gr(name));
        EXPECT_TRUE(ARP0::CHO(MN)) << name;
        return ARP0::XN;
    }
    // Runs the customer box VA of the editor with the keys; the box's old name is `old`.
    void peli(int VA, const std::string& old, const std::vector<PLAT::Event>& keys) {
        run(keys, [&] {
            ed.VV = VA;
            ed.YR = BOD::GV.ROW(VA);
            BOD::EA = old;
            ed.PELI(VA);
            BOD::BOS(BOD::DIA, BOD::GV, VA, BOD::EA);
        });
    }
};

TEST_F(Party, LookupByNameOverMixedNames) {
    struct C {
        const char* typed;
        const char* chosen;
    };
    const std::vector<C> cases = {
        {"ΒΗΤΑ ΟΕ", "ΒΗΤΑ ΟΕ"},   // exact
        {"ΒΗ", "ΒΗΤΑ ΟΕ"},        // prefix
        {"ALP", "ALPHA LTD"},     // Latin prefix
        {"B", "BETA SA"},         // Latin B comes after Greek ΒΗΤΑ
        {"Α", "ΑΛΦΑ ΑΕ"},         // Greek Α before Latin A
        {"AM", "ΒΗΤΑ ΟΕ"},        // between ALPHA and BETA: the next name
        {"ΖΗΤΑ", "ΩΜΕΓΑ ΕΠΕ"},    // the first name after it
        {"9", "1ST CO"},          // after the last name: the last of all
        {"", "ΑΛΦΑ ΑΕ"},          // empty: the first name
        {"  X", "ΑΛΦΑ ΑΕ"},       // a leading blank: from the first bucket
        {"&CO", "1ST CO"},        // a refused first character: the last of all
        {"Ω", "ΩΜΕΓΑ ΕΠΕ"},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.typed);
        BOD::EA = UMAS::LEJU(gr(c.typed), 30);
        BOD::PR = 7;
        BOD::CHEP(0, true);
        EXPECT_EQ(trimRight(BOD::EA), gr(c.chosen));
        EXPECT_EQ(BOD::PR, number(0, c.chosen));
        EXPECT_EQ(trimRight(PELAT::DIASRECPEL.EA), gr(c.chosen));
    }
    // The fields follow the customer; GETPEL false keeps the declaration's customer.
    BOD::EA = gr("ΑΛΦ");
    BOD::PR = 7;
    BOD::CHEP(0, false);
    EXPECT_EQ(BOD::PR, 7);
    EXPECT_EQ(BOD::AF, "094000001");
    EXPECT_EQ(BOD::DI, gr("ΟΔΟΣ ΑΛΦΑ 1"));
    EXPECT_EQ(BOD::PO, gr("ΠΕΙΡΑΙΑΣ"));
    EXPECT_EQ(BOD::EP, gr("ΕΙΣΑΓΩΓΕΣ"));
    EXPECT_EQ(BOD::EF, gr("Α' ΠΕΙΡΑΙΑ"));
    // The foreign files.
    BOD::EA = "D";
    BOD::CHEP(1, false);
    EXPECT_EQ(trimRight(BOD::EA), "DELTA SRL");
    EXPECT_EQ(BOD::SX, "IT998877");
    EXPECT_EQ(BOD::PR, 7);
}

// A chain of 700 names in one bucket, stored in an order that scatters them over the record file:
// the walk reads the index and the records in blocks, across their edges.
TEST_F(Party, LookupAlongALongChainOfOneBucket) {
    std::vector<std::string> names;
    for (int i = 699; i >= 0; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "KK%04d", (i * 37) % 700);
        names.push_back(name);
    }
    std::vector<Customer> many;
    for (const std::string& n : names) many.push_back({n.c_str(), "", "", "", "", "", "", ""});
    addCustomers(0, many);
    struct C {
        const char* typed;
        const char* chosen;
    } cases[] = {{"KK0000", "KK0000"}, {"KK0511", "KK0511"}, {"KK0512", "KK0512"}, {"KK0699", "KK0699"},
                 {"KK06995", "ΩΜΕΓΑ ΕΠΕ"}, {"KK03", "KK0300"}, {"KK", "KK0000"}};
    for (const C& c : cases) {
        SCOPED_TRACE(c.typed);
        BOD::EA = UMAS::LEJU(gr(c.typed), 30);
        BOD::CHEP(0, true);
        EXPECT_EQ(trimRight(BOD::EA), gr(c.chosen));
        EXPECT_EQ(BOD::PR, number(0, c.chosen));
    }
}

TEST_F(Party, LookupInEmptyFilesChangesNothing) {
    // Remove every foreign customer: the set is empty.
    ASSERT_TRUE(ARP0::DELETE(1, number(1, "GAMMA GMBH"), ARP0::KEY("GAMMA GMBH")));
    ASSERT_TRUE(ARP0::DELETE(1, number(1, "DELTA SRL"), ARP0::KEY("DELTA SRL")));
    BOD::EA = "GAMMA";
    BOD::AF = "123";
    BOD::PR = 5;
    BOD::CHEP(1, true);
    EXPECT_EQ(BOD::EA, "GAMMA");
    EXPECT_EQ(BOD::AF, "123");
    EXPECT_EQ(BOD::PR, 5);
}

// Box 22 of an import: a typed prefix completes to the customer and writes the party lines; a
// second Enter on the unchanged name leaves; Down walks on in collation order.
TEST_F(Party, ImportBox22CompletesAndSteps) {
    form("IMP");
    std::string shown;
    peli(22, "", typed("alp") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(trimRight(BOD::EA), "ALPHA LTD");
    EXPECT_EQ(BOD::PR, number(0, "ALPHA LTD"));
    EXPECT_EQ(text(21), "094000002");
    EXPECT_EQ(text(23), gr("ALPHA STREET 2 - ΑΘΗΝΑ"));
    EXPECT_EQ(text(24), gr("ΕΙΣΑΓΩΓΕΣ  ΔΟΥ:Α' ΑΘΗΝΩΝ"));
    EXPECT_EQ(text(25), "");
    EXPECT_EQ(ed.K, 3);  // the run's Esc after the look-up left the box

    // Confirmed: Enter on the completed name leaves at once.
    peli(22, BOD::EA, {PLAT::keyChar(ENTER)});
    EXPECT_EQ(ed.K, 0);
    EXPECT_TRUE(BOD::BLE);
    EXPECT_EQ(text(22), "ALPHA LTD");

    // Down on the unchanged name walks on: ΒΗΤΑ ΟΕ, BETA SA, ΩΜΕΓΑ ΕΠΕ, 1ST CO, and stays on the last.
    std::vector<std::string> walked;
    std::vector<PLAT::Event> keys;
    for (int i = 0; i < 5; ++i) keys.push_back(PLAT::keyExt(SC::DOWN));
    keys.push_back(PLAT::keyChar(ENTER));
    peli(22, BOD::EA, keys);
    EXPECT_EQ(trimRight(BOD::EA), "1ST CO");
    EXPECT_EQ(ed.K, 0);

    // One step at a time.
    for (const char* next : {"ΒΗΤΑ ΟΕ", "BETA SA", "ΩΜΕΓΑ ΕΠΕ"}) {
        const std::string before = BOD::EA == UMAS::LEJU("1ST CO", 30) ? UMAS::LEJU("ALPHA LTD", 30) : BOD::EA;
        peli(22, before, {PLAT::keyExt(SC::DOWN)});
        EXPECT_EQ(trimRight(BOD::EA), gr(next));
    }
}

TEST_F(Party, PartyLinesByLengthAndSecondName) {
    form("IMP");
    // A second name line and a long address: name, address and town on three lines, no profession.
    peli(22, "", typed("ΒΗΤ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(23), gr("ΒΗΤΑ ΚΑΙ ΣΙΑ"));
    EXPECT_EQ(text(24), gr("ΛΕΩΦΟΡΟΣ ΒΑΣΙΛΙΣΣΗΣ ΣΟΦΙΑΣ 123"));
    EXPECT_EQ(text(25), gr("ΘΕΣΣΑΛΟΝΙΚΗ"));
    // Small Greek letters become capitals; a refused first character rings the bell.
    const int bells = con->bells;
    peli(22, "", typed("-") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(con->bells, bells + 1);
    EXPECT_EQ(trimRight(BOD::EA), "");
    peli(22, "", typed("ωμ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(trimRight(BOD::EA), gr("ΩΜΕΓΑ ΕΠΕ"));
    EXPECT_EQ(text(23), gr("ΟΔΟΣ Ω 5 - ΒΟΛΟΣ"));
    EXPECT_EQ(text(24), gr("ΕΜΠΟΡΙΑ  ΔΟΥ:ΒΟΛΟΥ"));
    // "GR" before a numeric tax number when switch 20 asks for it.
    UMAS::HLEK4 = true;
    peli(22, "", typed("ΒΗΤ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(21), "GR094000003");
}

// An export's exporter in box 12 (domestic) with tax office and registration number in box 14; its
// box 22 takes foreign customers through Down and never looks up on Enter.
TEST_F(Party, ExportBoxes12And22) {
    form("EXP");
    peli(12, "", typed("ΑΛ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(trimRight(BOD::EA), gr("ΑΛΦΑ ΑΕ"));
    EXPECT_EQ(text(11), "094000001");
    EXPECT_EQ(text(13), gr("ΟΔΟΣ ΑΛΦΑ 1 ΠΕΙΡΑΙΑΣ"));
    EXPECT_EQ(text(14), gr("ΔΟΥ:Α' ΠΕΙΡΑΙΑ EME:"));
    const int pr = BOD::PR;
    EXPECT_EQ(pr, number(0, "ΑΛΦΑ ΑΕ"));

    // Enter on box 22: the typed name stays as it is.
    peli(22, "", typed("ZZ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(ed.K, 0);
    EXPECT_EQ(trimRight(BOD::EA), "ZZ");
    EXPECT_EQ(text(21), "");
    // Down looks the foreign files up and keeps the declaration's customer.
    peli(22, "", typed("G") + std::vector<PLAT::Event>{PLAT::keyExt(SC::DOWN)});
    EXPECT_EQ(trimRight(BOD::EA), "GAMMA GMBH");
    EXPECT_EQ(text(21), "DE123456789");
    EXPECT_EQ(text(23), "HAUPTSTRASSE 7 - MUENCHEN");
    EXPECT_EQ(BOD::PR, pr);
}

// The customer picker on Tab: the chosen customer fills the boxes; Esc changes nothing.
TEST_F(Party, PickerOnTab) {
    form("IMP");
    BOD::PR = 9;
    peli(22, "", typed("ΒΗ") + std::vector<PLAT::Event>{PLAT::keyChar(TAB), PLAT::keyChar(ESC)});
    EXPECT_EQ(BOD::PR, 9);
    EXPECT_EQ(text(21), "");
    EXPECT_EQ(ed.K, 3);
    // The picker opens on the typed name; Enter takes it.
    peli(22, "", typed("ΒΗ") + std::vector<PLAT::Event>{PLAT::keyChar(TAB), PLAT::keyChar(ENTER)});
    EXPECT_EQ(trimRight(BOD::EA), gr("ΒΗΤΑ ΟΕ"));
    EXPECT_EQ(BOD::PR, number(0, "ΒΗΤΑ ΟΕ"));
    EXPECT_EQ(text(21), "094000003");
    EXPECT_EQ(SCR::STACKPOINTER(), 0);
}

// Damaged customer records are never taken: the lookup passes over them and says so, the picker
// leaves them out; over a record file of random bytes box 22 fills nothing and the clerk is told.
TEST_F(Party, DamagedCustomerRecordsAreNeverTaken) {
    form("IMP");
    const std::string path = company(0) + "/MF.DAT";
    std::string mf = TESTS::readFile(path);
    const uint16_t alpha = number(0, "ALPHA LTD");
    mf[size_t(alpha) * ARP0::RR0::SIZE + 83] = char(41);  // the address one beyond its 40
    TESTS::writeFile(path, mf);
    BOD::EA = UMAS::LEJU("ALP", 30);
    BOD::PR = 7;
    EXPECT_EQ(BOD::CHEP(0, true), gr("ΤΟ ΑΡΧΕΙΟ MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ - ΑΛΛΟΙΩΜΕΝΟΙ ΠΕΛΑΤΕΣ ΠΑΡΑΛΕΙΦΘΗΚΑΝ"));
    EXPECT_EQ(trimRight(BOD::EA), gr("ΒΗΤΑ ΟΕ")) << "the next sound name";
    EXPECT_EQ(BOD::PR, number(0, "ΒΗΤΑ ΟΕ"));
    BOD::EA = UMAS::LEJU("B", 30);
    EXPECT_EQ(BOD::CHEP(0, true), "") << "a search that does not pass it says nothing";
    int damaged = 0;
    const auto rows = PELAT::rows(0, &damaged);
    EXPECT_EQ(rows.size(), DOMESTIC.size() - 1);
    EXPECT_EQ(damaged, 1);
    for (const auto& r : rows) EXPECT_NE(r.KV, alpha);

    // Random bytes of the file's own size.
    std::mt19937 rng(22);
    for (char& c : mf) c = char(rng());
    TESTS::writeFile(path, mf);
    const ARP0::RR0 keptRec = PELAT::DIASRECPEL;
    // The keys, then at each wait: the row of the notice read and a key for it, then Esc.
    auto drive = [&](const std::vector<PLAT::Event>& keys, std::string& notice) {
        for (const auto& e : keys) con->push(e);
        int idles = 0;
        con->onIdle = [&] {
            if (++idles == 1) {
                notice = screenRow(23);
                con->ch(ENTER);
            } else if (idles == 2) {
                con->ch(ESC);
            }
        };
        ed.VV = 22;
        ed.YR = BOD::GV.ROW(22);
        BOD::EA = "";
        ed.PELI(22);
        con->onIdle = nullptr;
    };
    // Enter looks up and writes the party lines from the fields as they were (only the separator
    // of an empty address and town); Tab opens the picker, which takes nothing.
    const struct {
        std::vector<PLAT::Event> keys;
        const char* box23;
    } ways[] = {{typed("αλε") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)}, " -"},
                {typed("αλε") + std::vector<PLAT::Event>{PLAT::keyChar(TAB)}, ""}};
    for (const auto& [way, box23] : ways) {
        form("IMP");
        BOD::AF = BOD::ON = BOD::DI = BOD::PO = BOD::EP = BOD::EF = BOD::SX = "";
        std::string notice;
        drive(way, notice);
        EXPECT_NE(notice.find(gr("ΤΟ ΑΡΧΕΙΟ MF.DAT ΕΧΕΙ ΑΛΛΟΙΩΘΕΙ")), std::string::npos) << notice;
        EXPECT_EQ(ed.K, 3);
        EXPECT_EQ(trimRight(BOD::EA), gr("ΑΛΕ")) << "the typed name stays";
        for (int b : {21, 24, 25}) EXPECT_EQ(text(b), "") << b;
        EXPECT_EQ(text(23), box23);
        for (const std::string* f : {&BOD::AF, &BOD::ON, &BOD::DI, &BOD::PO, &BOD::EP, &BOD::EF, &BOD::SX})
            EXPECT_EQ(*f, "");
        EXPECT_EQ(BOD::PR, BOD::NO_CUSTOMER);
        EXPECT_EQ(PELAT::DIASRECPEL, keptRec);
        EXPECT_EQ(SCR::STACKPOINTER(), 0);
    }
}

// The transit's three parties by switch 9.
TEST_F(Party, TransitPartiesBySwitch9) {
    form("MTF");
    UMAS::PAREDE[9].TIMI = 0;
    // Box 12 domestic with the declaration's customer; box 14 the tax office line.
    peli(12, "", typed("ΩΜ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(trimRight(BOD::EA), gr("ΩΜΕΓΑ ΕΠΕ"));
    EXPECT_EQ(BOD::PR, number(0, "ΩΜΕΓΑ ΕΠΕ"));
    EXPECT_EQ(text(14), gr("ΔΟΥ:ΒΟΛΟΥ EME:"));
    // Box 22: Enter looks nothing up, Down goes to the foreign files.
    peli(22, "", typed("DEL") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(21), "");
    peli(22, "", typed("DEL") + std::vector<PLAT::Event>{PLAT::keyExt(SC::DOWN)});
    EXPECT_EQ(trimRight(BOD::EA), "DELTA SRL");
    EXPECT_EQ(text(21), "IT998877");
    EXPECT_EQ(BOD::PR, number(0, "ΩΜΕΓΑ ΕΠΕ"));
    // Box 182: domestic, never the declaration's customer; no second name: address, town, profession.
    peli(182, "", typed("ALPHA") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(181), "094000002");
    EXPECT_EQ(text(183), "ALPHA STREET 2");
    EXPECT_EQ(text(184), gr("ΑΘΗΝΑ"));
    EXPECT_EQ(text(185), gr("ΕΙΣΑΓΩΓΕΣ"));
    EXPECT_EQ(BOD::PR, number(0, "ΩΜΕΓΑ ΕΠΕ"));

    // Switch 9 = 1: box 12 never looks up on Enter and Down goes foreign; box 22 is the customer.
    form("MTF");
    UMAS::PAREDE[9].TIMI = 1;
    peli(12, "", typed("GAM") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(ed.K, 0);
    EXPECT_EQ(text(11), "");
    peli(12, "", typed("GAM") + std::vector<PLAT::Event>{PLAT::keyExt(SC::DOWN)});
    EXPECT_EQ(trimRight(BOD::EA), "GAMMA GMBH");
    EXPECT_EQ(text(13), "HAUPTSTRASSE 7 MUENCHEN");
    EXPECT_EQ(text(14), "HANDEL");
    EXPECT_EQ(BOD::PR, BOD::NO_CUSTOMER);
    peli(22, "", typed("BETA") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(BOD::PR, number(0, "BETA SA"));
}

}  // namespace

namespace {

// An excise declaration's box 12 (a customer box with switch 2): the tax number without "GR" even
// when switch 20 asks for it elsewhere, the address line and the profession.
TEST_F(Party, ExciseBox12) {
    form("DFK");
    UMAS::PAREDE[2].TIMI = 1;
    UMAS::HLEK4 = true;
    peli(12, "", typed("ΩΜ") + std::vector<PLAT::Event>{PLAT::keyChar(ENTER)});
    EXPECT_EQ(text(11), "094000005");
    EXPECT_EQ(text(13), gr("ΟΔΟΣ Ω 5 ΒΟΛΟΣ"));
    EXPECT_EQ(text(14), gr("ΕΜΠΟΡΙΑ"));
    EXPECT_EQ(BOD::PR, number(0, "ΩΜΕΓΑ ΕΠΕ"));
}

}  // namespace
