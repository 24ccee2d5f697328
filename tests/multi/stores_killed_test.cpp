// Stores and deletions of invoices, credit notes and receipts killed after each of their write steps
// (the process ends as by a power loss), then the program started again (the company choice) or the
// next store of the kind made: the document ends whole or deleted whole, posted once, exactly as an
// uninterrupted run leaves the folder, and the clerk is told which document was completed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "common/umas.h"
#include "config/params.h"
#include "customers/arp0.h"
#include "helpers/fixture.h"
#include "helpers/invoices.h"
#include "invoicing/apod0.h"
#include "invoicing/apodi.h"
#include "invoicing/tim.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "shell/korvex.h"
#include "upgrades/old_layouts.h"

using PLAT::gr;

namespace {

enum Op { NEW_SERIES_INVOICE, NEW_INVOICE, CHANGED_INVOICE, NEW_CREDIT, DELETED_INVOICE, NEW_RECEIPT, CHANGED_RECEIPT, DELETED_RECEIPT };

struct Case {
    Op op;
    const char* name;
    const char* told;  // the document as the clerk is told it
    bool deletion;
};

const Case INVOICE_CASES[] = {
    {NEW_INVOICE, "new invoice from the free stack", "ΤΙΜΟΛΟΓΙΟ 174", false},
    {CHANGED_INVOICE, "invoice changed: amount and date, same customer", "ΤΙΜΟΛΟΓΙΟ 173", false},
    {NEW_CREDIT, "new credit note appended", "ΠΙΣΤΩΤΙΚΟ 12", false},
    {DELETED_INVOICE, "invoice deleted", "ΤΙΜΟΛΟΓΙΟ 5", true},
};
const Case RECEIPT_CASES[] = {
    {NEW_RECEIPT, "new collection receipt", "ΑΠΟΔΕΙΞΗ ΕΙΣΠΡΑΞΗΣ 8", false},
    {CHANGED_RECEIPT, "payment receipt changed: customer and amount", "ΑΠΟΔΕΙΞΗ ΠΛΗΡΩΜΗΣ 4", false},
    {DELETED_RECEIPT, "collection receipt deleted", "ΑΠΟΔΕΙΞΗ ΕΙΣΠΡΑΞΗΣ 3", true},
};

bool isReceipt(Op op) { return op >= NEW_RECEIPT; }

class StoreKilled : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        // A memory file system where there is one: every step flushes the journal.
        work.reset();
        work = std::make_unique<TESTS::TempWorkDir>("/dev/shm");
        install(TESTS::companies(1));
        PLAT::setFixedNow(PLAT::DateTime{2026, 3, 20, 10, 0, 0, 0});
        start();
        std::string img = TESTS::readFile(dir() + "/PSEIRES.DAT");
        PARAMS::SEIRES_CREATEFILES(1, PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img.data())));
        A = TESTS::addCustomer("ΑΛΦΑ Α.Ε.");
        B = TESTS::addCustomer("ΒΗΤΑ");
        // The documents the cases change or delete; a deleted invoice leaves a free record.
        ASSERT_TRUE(storeInvoice(0, 5, "ΒΗΤΑ", "150326", 100));
        ASSERT_TRUE(storeInvoice(0, 6, "ΑΛΦΑ", "150326", 60));
        ASSERT_TRUE(storeInvoice(0, 173, "ΑΛΦΑ", "100326", 200));
        ASSERT_TRUE(deleteInvoice(6));
        ASSERT_TRUE(storeReceipt(true, 3, "ΑΛΦΑ", "050326", "50.00"));
        ASSERT_TRUE(storeReceipt(false, 4, "ΑΛΦΑ", "060326", "20.00"));
        base = OLD::snapshot(dir());
        // Invoice 174 takes the free record; the first credit note is appended.
        ASSERT_EQ(TESTS::readFile(dir() + "/TD.DAT").substr(0, 4), std::string("\x01\x00\x01\x00", 4));
    }
    void TearDown() override {
        APODI::STOPAFTERSTEP(0);
        PLAT::setFixedNow(std::nullopt);
        UMAS::EURO = 0;
        con->onIdle = nullptr;
        Installation::TearDown();
    }
    std::string dir() const { return company(0); }

    // The company choice; the screens it waits on are kept, each left with Esc.
    void start() {
        screens.clear();
        con->onIdle = [this] {
            screens.push_back(con->dump());
            con->ch(27);
        };
        KORVEX::afterChoice();
        // The rate and the item headings every store of the test works with.
        UMAS::EURO = 340.75;
        PARAMS::PARTIM1 = {};
        PARAMS::PARTIM1[1] = gr("_ΑΜΟΙΒΗ");
        PARAMS::PARTIM1[18] = gr("ΛΟΙΠΑ=24");
        TIM0::FP = "24";
    }

    bool storeInvoice(uint8_t kind, int number, const char* customer, const char* hm, double amount,
                      const char* series = "") {
        TIM::TIMOS t(kind);
        TESTS::openDoc(t, number, series);
        TESTS::setCustomer(customer);
        TIM0::HM = hm;
        TIM0::XR[1] = amount;
        TIM0::XR[2] = 470.87;
        return t.KTT(true, false);
    }
    bool deleteInvoice(int number) {
        TIM::TIMOS t(0);
        if (!TESTS::openDoc(t, number)) return false;
        t.BTM = TIM0::TM;
        return t.DEL();
    }
    bool openReceipt(APOD0::APODS& a, int n) {
        a.KV = std::to_string(n);
        a.CHO();
        bool zb = false;
        if (APODI::BOO)
            a.RUF(zb);
        else
            a.CLLS();
        a.BKV = a.KV;
        return APODI::BOO;
    }
    bool storeReceipt(bool collection, int n, const char* customer, const char* hm, const char* ps) {
        APOD0::APODS a(collection);
        openReceipt(a, n);
        a.HM = hm;
        TESTS::setCustomer(customer);
        a.PS = ps;
        return a.KTT();
    }

    void run(Op op) {
        switch (op) {
            case NEW_SERIES_INVOICE: ASSERT_TRUE(storeInvoice(0, 174, "ΑΛΦΑ", "180326", 0, "ΓΔ")); break;
            case NEW_INVOICE: ASSERT_TRUE(storeInvoice(0, 174, "ΑΛΦΑ", "180326", 0)); break;
            case CHANGED_INVOICE: {
                TIM::TIMOS t(0);
                ASSERT_TRUE(TESTS::openDoc(t, 173));
                TIM0::HM = "190326";
                TIM0::XR[1] = 250;
                ASSERT_TRUE(t.KTT(true, false));
                break;
            }
            case NEW_CREDIT: ASSERT_TRUE(storeInvoice(2, 12, "ΒΗΤΑ", "180326", 30)); break;
            case DELETED_INVOICE: ASSERT_TRUE(deleteInvoice(5)); break;
            case NEW_RECEIPT: ASSERT_TRUE(storeReceipt(true, 8, "ΑΛΦΑ", "180326", "470.87")); break;
            case CHANGED_RECEIPT: {
                APOD0::APODS a(false);
                ASSERT_TRUE(openReceipt(a, 4));
                TESTS::setCustomer("ΒΗΤΑ");
                a.PS = "25.00";
                ASSERT_TRUE(a.KTT());
                break;
            }
            case DELETED_RECEIPT: {
                APOD0::APODS a(true);
                ASSERT_TRUE(openReceipt(a, 3));
                ASSERT_TRUE(a.DEL());
                break;
            }
        }
    }
    // The next store of the kind on another workstation: a new document of customer B.
    void next(Op op) {
        if (isReceipt(op))
            ASSERT_TRUE(storeReceipt(true, 300, "ΒΗΤΑ", "190326", "10.00"));
        else
            ASSERT_TRUE(storeInvoice(0, 300, "ΒΗΤΑ", "190326", 10));
    }

    // The operation in a child process stopped after its n-th write step; the child's status.
    int killed(Op op, int n) {
        return TESTS::runInChild([&] {
            PLAT::setThrowOnExit(false);
            APODI::STOPAFTERSTEP(n);
            run(op);
            return ::testing::Test::HasFailure() ? 2 : 0;
        });
    }
    // The completion in a child process stopped after its m-th write step.
    int completionKilled(int m) {
        return TESTS::runInChild([&] {
            PLAT::setThrowOnExit(false);
            APODI::STOPAFTERSTEP(m);
            TIM::RECOVER();
            APOD0::RECOVER();
            return 0;
        });
    }

    // The folder as an uninterrupted run leaves it: the operation, then the company choice (or the
    // next store).
    std::map<std::string, std::string> uninterrupted(Op op, bool nextStore) {
        OLD::restore(base, dir());
        run(op);
        if (nextStore)
            next(op);
        else
            start();
        expectSound(nextStore ? "uninterrupted, then the next store" : "uninterrupted");
        return OLD::snapshot(dir());
    }

    // The folder equals the uninterrupted one (the journals aside: both cleared).
    void expectSame(const std::map<std::string, std::string>& want, const std::string& what) {
        auto got = OLD::snapshot(dir());
        EXPECT_FALSE(pending()) << what << ": a journal left pending";
        auto w = want;
        // Not data: the journals (cleared in both), the named locks and in-use claims (a killed
        // workstation leaves its own, taken over as left by a crash).
        for (const char* n : {"TJOURNAL.DAT", "AJOURNAL.DAT", "FTIM.DAT", "FPEL.DAT", "FAPO.DAT", "FPAR.DAT",
                              "NUTI.DAT", "NUAP.DAT"}) {
            got.erase(n);
            w.erase(n);
        }
        EXPECT_EQ(got.size(), w.size()) << what;
        for (const auto& [name, bytes] : w)
            EXPECT_TRUE(got[name] == bytes) << what << ": " << name << " differs";
    }
    // The checks of the invoice files find nothing, and every customer's totals are what its
    // documents post (made on the uninterrupted folders, which the interrupted ones equal).
    void expectSound(const std::string& what) {
        TIM::CHECKED c = TIM::CHECKFILES();
        for (const auto& p : c.PROBLEMS) ADD_FAILURE() << what << ": " << p;
        for (uint16_t pr : {A, B}) {
            EXPECT_EQ(int64_t(TESTS::customerXR(pr)), c.POSTED[pr]) << what << ": customer " << pr;
            // The receipts on the customer's chain post its paid total.
            int64_t paid = 0;
            for (const APOD0::FOUND& f : APOD0::OFCUSTOMER(pr)) {
                EXPECT_EQ(APOD0::SLOT(f.R.KV), f.XN) << what << ": receipt " << f.R.KV;
                bool ok = true;
                paid += int64_t(TIM0::ROUND(APOD0::POSTING(f.R, ok)));
            }
            ARP0::RR0 r;
            ASSERT_TRUE(ARP0::readRecord(0, pr, r));
            EXPECT_EQ(int64_t(r.PI), paid) << what << ": customer " << pr;
        }
    }
    // A journal of the folder is pending.
    bool pending() const {
        for (const char* j : {"/TJOURNAL.DAT", "/AJOURNAL.DAT"}) {
            const std::string b = TESTS::readFile(dir() + j);
            if (!b.empty() && b[0] != 0) return true;
        }
        return false;
    }
    bool told(const Case& c) const {
        const std::string doc = c.told;
        for (const std::string& s : screens)
            if (s.find(doc) != std::string::npos &&
                s.find(c.deletion ? "ΔΙΑΚΟΠΕΙΣΑ ΔΙΑΓΡΑΦΗ ΟΛΟΚΛΗΡΩΘΗΚΕ" : "ΔΙΑΚΟΠΕΙΣΑ ΚΑΤΑΧΩΡΗΣΗ ΟΛΟΚΛΗΡΩΘΗΚΕ") != std::string::npos)
                return true;
        return false;
    }

    // Each case killed after each of its write steps, in turn, until one runs to its end; after
    // each kill the program is started again (odd steps) or the next store is made (even steps).
    void everyStep(const Case& c, int atLeast) {
        SCOPED_TRACE(c.name);
        const auto atStart = uninterrupted(c.op, false);
        const auto atNext = uninterrupted(c.op, true);
        int n = 1;
        for (;; ++n) {
            OLD::restore(base, dir());
            const int status = killed(c.op, n);
            if (WIFEXITED(status)) {
                ASSERT_EQ(WEXITSTATUS(status), 0) << "step " << n;
                break;
            }
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "step " << n;
            const bool nextStore = n % 2 == 0;
            // Killed after its journal was cleared, the operation was whole: there is nothing to tell.
            const bool wasPending = pending();
            const std::string what = std::string(c.name) + ", killed after step " + std::to_string(n) +
                                     (nextStore ? ", then the next store" : ", then a start");
            if (nextStore) {
                screens.clear();
                con->onIdle = [this] {
                    screens.push_back(con->dump());
                    con->ch(27);
                };
                next(c.op);
            } else {
                start();
            }
            expectSame(nextStore ? atNext : atStart, what);
            EXPECT_EQ(told(c), wasPending) << what << (wasPending ? ": the clerk was not told" : ": told of nothing");
            if (HasFailure()) break;
        }
        EXPECT_GE(n, atLeast);
    }

    std::vector<std::string> screens;
    std::map<std::string, std::string> base;
    uint16_t A = 0, B = 0;
};

TEST_F(StoreKilled, InvoiceStoresAndDeletionsKilledAtEveryStep) {
    // Journal, record taken, "DAPANES.TXT", series, record, index, 2 links, totals noted, posting,
    // cleared.
    everyStep(INVOICE_CASES[0], 11);
    // Journal, series, record, 2 unlinks, 2 links, 2 x (totals noted, posting), cleared.
    everyStep(INVOICE_CASES[1], 12);
    everyStep(INVOICE_CASES[2], 11);
    // Journal, index, 2 unlinks, 2 stack writes, totals noted, posting, cleared.
    everyStep(INVOICE_CASES[3], 9);
}

TEST_F(StoreKilled, ReceiptStoresAndDeletionsKilledAtEveryStep) {
    // Journal, count, record, index, 2 links, totals noted, posting, last number, cleared.
    everyStep(RECEIPT_CASES[0], 10);
    everyStep(RECEIPT_CASES[1], 12);
    everyStep(RECEIPT_CASES[2], 7);
}

// A completion killed midway is itself completed by the next one, and still posts once. The
// operations are stopped after their eighth step: a change once its reversal's totals are noted, a
// deletion once its reversal is posted.
TEST_F(StoreKilled, CompletionKilledMidwayIsCompletedOnce) {
    for (const Case& c : {INVOICE_CASES[1], RECEIPT_CASES[1], INVOICE_CASES[3]}) {
        SCOPED_TRACE(c.name);
        OLD::restore(base, dir());
        run(c.op);
        expectSound("uninterrupted");
        const auto want = OLD::snapshot(dir());
        for (int n : {8}) {
            for (int m = 1;; ++m) {
                OLD::restore(base, dir());
                ASSERT_TRUE(WIFSIGNALED(killed(c.op, n)));
                const int status = completionKilled(m);
                const std::string what = std::string(c.name) + ", killed after step " + std::to_string(n) +
                                         ", its completion after step " + std::to_string(m);
                const bool wasPending = pending();
                EXPECT_TRUE(wasPending || m > 1) << what;
                const APODI::COMPLETED t = TIM::RECOVER(), a = APOD0::RECOVER();
                EXPECT_EQ(bool(t) || bool(a), wasPending) << what;
                expectSame(want, what);
                if (HasFailure() || WIFEXITED(status)) break;
            }
        }
    }
}

// A stopped store whose series index has gone missing stays pending: the stores of its kind, in
// any series, are refused naming the file (none may write over its journal), and once the file is
// back the next start completes it.
TEST_F(StoreKilled, AStoppedStoreWithAFileMissingWaitsForIt) {
    const std::string sf = dir() + "/SEIRES.DAT";
    std::string img = TESTS::readFile(sf);
    PARAMS::SEIRESTABLE t = PARAMS::decodeSEIRES(reinterpret_cast<const uint8_t*>(img.data()));
    t[1].SEIRA = gr("ΓΔ");
    t[1].AA = 1;
    PARAMS::encodeSEIRES(t, reinterpret_cast<uint8_t*>(img.data()));
    TESTS::writeFile(sf, img);
    PARAMS::SEIRES_CREATEFILES(0, t);
    base = OLD::snapshot(dir());
    const auto want = uninterrupted(NEW_SERIES_INVOICE, false);

    OLD::restore(base, dir());
    ASSERT_TRUE(WIFSIGNALED(killed(NEW_SERIES_INVOICE, 3)));
    const std::string ix = dir() + "/TI_CD.DAT", away = dir() + "/TI_CD.AWAY";
    ASSERT_EQ(std::rename(ix.c_str(), away.c_str()), 0);
    start();
    EXPECT_TRUE(pending());
    const Case c{NEW_SERIES_INVOICE, "new invoice of series ΓΔ", "ΤΙΜΟΛΟΓΙΟ ΓΔ 174", false};
    EXPECT_FALSE(told(c));
    screens.clear();
    EXPECT_FALSE(storeInvoice(0, 300, "ΒΗΤΑ", "190326", 10));
    ASSERT_FALSE(screens.empty());
    EXPECT_NE(screens.back().find("ΑΡΧΕΙΟ TI_CD.DAT ΔΕΝ ΥΠΑΡΧΕΙ"), std::string::npos) << screens.back();
    EXPECT_TRUE(pending());
    ASSERT_EQ(std::rename(away.c_str(), ix.c_str()), 0);
    start();
    EXPECT_TRUE(told(c));
    expectSame(want, "completed once the file was back");
}

}  // namespace
