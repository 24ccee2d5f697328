// The exchange with the signing server, against the stand-in server (tools/signsrv) running in a
// second process: request files byte for byte, a signature and its re-fetch, every failure of the
// server, the recovery of an open request, and two workstations signing at once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/umas.h"
#include "helpers/fixture.h"
#include "invoicing/formix.h"
#include "invoicing/formixu.h"
#include "platform/codepage.h"
#include "platform/fatal.h"
#include "platform/pause.h"

namespace fs = std::filesystem;
using FORMIX::EAFDSSREC;

namespace {

std::string gr(const char* s) { return PLAT::gr(s); }
std::string trim(const std::string& s) { return UMAS::CUTLEADSPACES(UMAS::REMLCH(s, ' ')); }

// One document to sign: what the signing of a printed copy passes.
struct Doc {
    std::string kind = gr("ΤΠΥ");
    std::string series = gr("Α") + "  ";
    int32_t number = 17;
    int32_t reckind = 0;
    std::string date = "05/03/09";
};

class Signing : public TESTS::Installation {
protected:
    void SetUp() override {
        Installation::SetUp();
        install(TESTS::companies(1));
        FORMIX::FORMIXPATH = "C:\\EAFDSS";
        FORMIX::FORMIXSAA = 1;
        FORMIX::FORMIXBAD = 0;
        FORMIX::FORMIXSN.clear();
        folder = work->file("drives/c/EAFDSS");
        fs::create_directories(folder);
        state = work->file("SRVSTATE");
        PLAT::setPauseHook([this](int ms) {
            if (ms != 5000) return;  // the pause before a reply is read
            std::string r12 = trim(con->text(15, 12, 52)), r13 = trim(con->text(15, 13, 52));
            messages.push_back(PLAT::cp737ToUtf8(r12.empty() ? r13 : r13.empty() ? r12 : r12 + " " + r13));
        });
    }
    void TearDown() override {
        stopServer();
        PLAT::setPauseHook(nullptr);
        Installation::TearDown();
    }

    pid_t startServer(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {KORVEX_SIGNSRV, "--state", state, "--now", "05/03/09 14:30", "--log",
                                         work->file("SRV.LOG")};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(folder);
        server = TESTS::startSigningServer(args, state);
        return server;
    }
    // Stops the server; its exit status (-1 when none ran).
    int stopServer() {
        if (server <= 0) return -1;
        int st = 0;
        if (waitpid(server, &st, WNOHANG) == 0) {
            kill(server, SIGTERM);
            waitpid(server, &st, 0);
        }
        server = -1;
        return st;
    }

    // The document file as the invoice print writes it with the no-printer driver.
    std::string writeDoc(const std::string& name = "DOC.tmp") {
        TESTS::writeFile(work->file(name), docText());
        return name;
    }
    static std::string docText() {
        return "<<(  5" + gr("ΤΙΜΟΛΟΓΙΟ ΠΑΡΟΧΗΣ ΥΠΗΡΕΣΙΩΝ") + "<<( 40" + gr("Αρ. ") + "17\r\n" +
               std::string(3, char(0xC4)) + "<<(  2" + gr("ΑΜΟΙΒΗ ΕΚΤΕΛΩΝΙΣΜΟΥ") + "<<( 30" + "120.00\r\n\r\n";
    }

    int16_t sign(const std::string& fname, const Doc& d, EAFDSSREC& r, int32_t timeout = 5, int32_t recid = -1) {
        return FORMIX::GETSIGNATURE(fname, d.date, d.kind, d.series, d.number, FORMIX::FMAPPID, d.reckind,
                                    recid < 0 ? d.number : recid, timeout, r.AASERVER, r.CODESERVER, r.CODEDEV,
                                    r.DEVICEID, r.DATES, r.TIMES, r.AADAY, r.AATOTAL, r.AAZ, r.SIG, r.SIGPRN);
    }
    int16_t signOld(int32_t total, EAFDSSREC& r, int32_t timeout = 5, int32_t recid = 17) {
        return FORMIX::GETOLDSIGNATURE(total, FORMIX::FMAPPID, 0, recid, timeout, r.AASERVER, r.CODESERVER,
                                       r.CODEDEV, r.DEVICEID, r.DATES, r.TIMES, r.AADAY, r.AAZ, r.SIG, r.SIGPRN);
    }

    std::vector<std::string> folderFiles() const {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename() != ".signsrv") v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
    int journalLines() const {
        std::string j = TESTS::readFile(state + "/journal.txt");
        return int(std::count(j.begin(), j.end(), '\n'));
    }
    void waitUntil(const std::function<bool()>& cond, int ms = 5000) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!cond()) {
            ASSERT_LT(std::chrono::steady_clock::now(), end) << "timed out";
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    bool any(const std::string& ext) const {
        for (const auto& n : folderFiles())
            if (n.size() > ext.size() && n.compare(n.size() - ext.size(), ext.size(), ext) == 0) return true;
        return false;
    }
    // The open request files of an id, written as the client writes them.
    void openRequest(const std::string& id, const Doc& d, bool rqt, bool flg, const std::string& rpl = "",
                     const std::string& command = "GETSIGN") {
        std::string pqt = command + "\r\n3\r\n" + std::to_string(d.reckind) + "\r\n" + std::to_string(d.number) +
                          "\r\n" + id + ".txt\r\n" + d.date + "\r\n" + d.kind + "\r\n" + d.series + "\r\n" +
                          std::to_string(d.number) + "\r\n";
        TESTS::writeFile(folder + "/" + id + ".pqt", pqt);
        if (rqt) TESTS::writeFile(folder + "/" + id + ".rqt", pqt);
        if (flg) TESTS::writeFile(folder + "/" + id + ".flg", "\r\n");
        if (!rpl.empty()) TESTS::writeFile(folder + "/" + id + ".rpl", rpl);
    }
    static std::string okReply(const Doc& d, int32_t total, const std::string& sig = std::string(40, 'F')) {
        return "GETSIGN\r\n3\r\n" + std::to_string(d.reckind) + "\r\n" + std::to_string(d.number) +
               "\r\nOK\r\n5\r\n0\r\n0\r\nKVX00000009\r\n04/03/09\r\n09:15\r\n3\r\n" + std::to_string(total) +
               "\r\n2\r\n" + sig + "\r\n";
    }

    std::string folder, state;
    pid_t server = -1;
    std::vector<std::string> messages;
};

// ---- Request files -------------------------------------------------------------------------------

TEST_F(Signing, RequestFilesByteForByte) {
    startServer({"--keep", work->file("KEEP")});
    struct Case {
        const char* name;
        Doc d;
        std::string kind1253, series1253;
    } cases[] = {
        {"invoice of a named series", Doc{gr("ΤΠΥ"), gr("Α") + "  ", 17, 0}, "\xD4\xD0\xD5", "\xC1  "},
        {"invoice of the unnamed series", Doc{gr("ΤΠΥ"), "   ", 1, 0}, "\xD4\xD0\xD5", "   "},
        {"credit note of a named series", Doc{gr("ΤΠΥ"), gr("ΠΙΣ"), 5, 0}, "\xD4\xD0\xD5", "\xD0\xC9\xD3"},
        {"credit note of the unnamed series", Doc{gr("ΤΠΥ"), "   ", 6, 0}, "\xD4\xD0\xD5", "   "},
        {"cancellation of an invoice", Doc{"A" + gr("ΤΠΥ"), gr("Β") + "  ", 17, 1}, "\x41\xD4\xD0\xD5", "\xC2  "},
    };
    const std::string txt = "     \xD4\xC9\xCC\xCF\xCB\xCF\xC3\xC9\xCF \xD0\xC1\xD1\xCF\xD7\xC7\xD3 "
                            "\xD5\xD0\xC7\xD1\xC5\xD3\xC9\xD9\xCD" + std::string(40 - 32, ' ') + "\xC1\xF1. 17\r\n"
                            "??? \xC1\xCC\xCF\xC9\xC2\xC7 \xC5\xCA\xD4\xC5\xCB\xD9\xCD\xC9\xD3\xCC\xCF\xD5" +
                            std::string(30 - 23, ' ') + "120.00\r\n\r\n";
    int n = 0;
    for (const auto& c : cases) {
        EAFDSSREC r;
        ASSERT_EQ(sign(writeDoc(), c.d, r), 0) << c.name;
        ++n;
        std::vector<fs::path> kept;
        for (const auto& e : fs::directory_iterator(work->file("KEEP"))) kept.push_back(e.path());
        ASSERT_EQ(int(kept.size()), n) << c.name;
        std::sort(kept.begin(), kept.end(), [](const fs::path& a, const fs::path& b) {
            return fs::last_write_time(a) < fs::last_write_time(b);
        });
        const std::string id = kept.back().filename().string();
        EXPECT_EQ(id.size(), 6u);
        EXPECT_EQ(id.substr(0, 4), "0301") << "application 3, terminal 1";
        const std::string dir = kept.back().string() + "/" + id;
        std::string lines = "GETSIGN\r\n3\r\n" + std::to_string(c.d.reckind) + "\r\n" + std::to_string(c.d.number) +
                            "\r\n" + id + ".txt\r\n05/03/09\r\n";
        EXPECT_EQ(TESTS::readFile(dir + ".pqt"), lines + c.d.kind + "\r\n" + c.d.series + "\r\n" +
                                                      std::to_string(c.d.number) + "\r\n")
            << c.name;
        EXPECT_EQ(TESTS::readFile(dir + ".rqt"),
                  lines + c.kind1253 + "\r\n" + c.series1253 + "\r\n" + std::to_string(c.d.number) + "\r\n")
            << c.name;
        EXPECT_EQ(TESTS::readFile(dir + ".flg"), "\r\n") << c.name;
        EXPECT_EQ(TESTS::readFile(dir + ".txt"), txt) << c.name;
        EXPECT_FALSE(TESTS::exists(work->file("DOC.tmp"))) << c.name << ": the temporary copy is deleted";
        EXPECT_FALSE(TESTS::exists(work->file("DOC.t_o"))) << c.name;
        EXPECT_TRUE(folderFiles().empty()) << c.name;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Signing, RequestIdsAvoidOpenRequestsAndGrowWithTheTerminalNumber) {
    startServer({"--keep", work->file("KEEP")});
    Doc d;
    // A request of this terminal being answered keeps its id: the next id is drawn again.
    std::srand(7);
    const std::string taken = FORMIX::GETGUID(FORMIX::FMAPPID);
    const std::string next = FORMIX::GETGUID(FORMIX::FMAPPID);
    ASSERT_NE(taken, next);
    Doc other = d;
    other.number = 5;
    openRequest(taken, other, false, true, okReply(other, 3));
    std::srand(7);
    EAFDSSREC r;
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    EXPECT_FALSE(TESTS::exists(work->file("KEEP/" + taken)));
    EXPECT_TRUE(TESTS::exists(work->file("KEEP/" + next))) << "the id drawn next";
    EXPECT_EQ(folderFiles(), (std::vector<std::string>{taken + ".flg", taken + ".pqt", taken + ".rpl"}));
    for (const char* ext : {".flg", ".pqt", ".rpl"}) fs::remove(folder + "/" + taken + ext);
    // Any file left under a name (here a document copy without its request) keeps the name taken.
    TESTS::writeFile(folder + "/" + taken + ".txt", "left\r\n");
    Doc third = d;
    third.number = 6;
    std::srand(7);
    ASSERT_EQ(sign(writeDoc(), third, r), 0);
    EXPECT_FALSE(TESTS::exists(work->file("KEEP/" + taken))) << "the name was drawn again";
    EXPECT_EQ(TESTS::readFile(folder + "/" + taken + ".txt"), "left\r\n");
    fs::remove(folder + "/" + taken + ".txt");

    FORMIX::FORMIXSAA = 123;
    EXPECT_EQ(FORMIX::PREFIX(FORMIX::FMAPPID), "03123");
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    int longer = 0;
    for (const auto& e : fs::directory_iterator(work->file("KEEP")))
        if (e.path().filename().string().size() == 7 && e.path().filename().string().rfind("03123", 0) == 0) ++longer;
    EXPECT_EQ(longer, 1);
    EXPECT_TRUE(folderFiles().empty());
}

// ---- Signatures -----------------------------------------------------------------------------------

TEST_F(Signing, SignatureAndItsRefetchByTotalCounter) {
    startServer();
    Doc d;
    EAFDSSREC a, b, old;
    ASSERT_EQ(sign(writeDoc(), d, a), 0);
    EXPECT_EQ(a.AATOTAL, 1);
    EXPECT_EQ(a.AADAY, 1);
    EXPECT_EQ(a.DATES, "05/03/09");
    EXPECT_EQ(a.TIMES, "14:30");
    EXPECT_EQ(a.DEVICEID, "KVX00000001");
    EXPECT_EQ(a.CODESERVER, 0);
    EXPECT_GT(a.AASERVER, 0);
    ASSERT_EQ(a.SIG.size(), 40u);
    EXPECT_EQ(a.SIGPRN.size(), 77u);
    EXPECT_EQ(a.SIGPRN, a.SIG + " 0001 00000001 0903051430 KVX00000001");

    d.number = 18;
    ASSERT_EQ(sign(writeDoc(), d, b), 0);
    EXPECT_EQ(b.AATOTAL, 2);
    EXPECT_EQ(b.AADAY, 2);
    EXPECT_NE(b.SIG, a.SIG);

    ASSERT_EQ(signOld(1, old), 0);
    EXPECT_EQ(old.SIG, a.SIG);
    EXPECT_EQ(old.SIGPRN, a.SIGPRN);
    EXPECT_EQ(old.AADAY, 1);
    EXPECT_EQ(old.DEVICEID, "KVX00000001");
    EXPECT_TRUE(messages.empty());

    // The counters survive a restart of the server, and so does the re-fetch.
    stopServer();
    startServer();
    ASSERT_EQ(signOld(2, old), 0);
    EXPECT_EQ(old.SIGPRN, b.SIGPRN);
    EXPECT_EQ(signOld(99, old), 11);
    EXPECT_EQ(old.CODESERVER, 11);
    EXPECT_EQ(old.SIG, "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Server: Η υπογραφή ΔΕΝ βρέθηκε!");
    EXPECT_TRUE(folderFiles().empty());
}

TEST_F(Signing, ServerRefusesADocumentDateItCannotRead) {
    startServer();
    Doc d;
    d.date = "32/13/09";
    EAFDSSREC r;
    EXPECT_EQ(sign(writeDoc(), d, r), 13);
    EXPECT_EQ(r.CODESERVER, 13);
    EXPECT_EQ(messages, std::vector<std::string>{"Server: Ακατάλληλη ημ/νία παρ/κού!"});
    EXPECT_EQ(journalLines(), 0);
    EXPECT_TRUE(folderFiles().empty());
}

// ---- Failures before anything is sent -----------------------------------------------------------

TEST_F(Signing, NoFolderNoDocumentOrAMissingExchangeFolder) {
    Doc d;
    EAFDSSREC r;
    r.AATOTAL = 77;
    FORMIX::FORMIXPATH = "";
    EXPECT_EQ(sign(writeDoc(), d, r), -17);
    EXPECT_EQ(r.AATOTAL, 77) << "out-values untouched";
    EXPECT_EQ(signOld(1, r), -17);
    FORMIX::FORMIXPATH = "C:\\EAFDSS";
    EXPECT_EQ(sign("NODOC.tmp", d, r), -18);
    FORMIX::FORMIXPATH = "C:\\NOWHERE\\EAFDSS";
    EXPECT_EQ(sign(writeDoc(), d, r), -16);
    EXPECT_EQ(signOld(1, r), -16);
    EXPECT_FALSE(TESTS::exists(work->file("drives/c/NOWHERE"))) << "nothing created";
    EXPECT_FALSE(TESTS::exists(work->file("DOC.tmp")));
    EXPECT_FALSE(TESTS::exists(work->file("DOC.t_o")));
    EXPECT_TRUE(folderFiles().empty());
    std::vector<std::string> want = {"Δεν έχετε δώσει την διεύθυνση του server!",
                                     "Δεν έχετε δώσει την διεύθυνση του server!",
                                     "Δεν βρέθηκε το αρχείο του παραστατικού προς υπογραφή!",
                                     "Αδυναμία αποστολής της αίτησης!", "Αδυναμία αποστολής της αίτησης!"};
    EXPECT_EQ(messages, want);
}

// ---- Failures of the server -----------------------------------------------------------------------

struct ServerFailure {
    const char* name;
    std::vector<std::string> args;
    int32_t timeout;
    int16_t rc;
    const char* message;
};

void PrintTo(const ServerFailure& f, std::ostream* os) { *os << f.name; }

class SigningFailure : public Signing, public ::testing::WithParamInterface<ServerFailure> {};

TEST_P(SigningFailure, ResultMessageAndAClearedFolder) {
    const ServerFailure& f = GetParam();
    startServer(f.args);
    Doc d;
    EAFDSSREC r;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(sign(writeDoc(), d, r, f.timeout), f.rc);
    if (f.rc == -13 || f.rc == -15) {
        EXPECT_GT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(f.timeout))
            << "a wait ends only when more than its limit has passed";
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], f.message);
    EXPECT_TRUE(folderFiles().empty()) << "nothing of the request is left";
    EXPECT_FALSE(TESTS::exists(work->file("DOC.tmp")));
    EXPECT_EQ(r.SIG, "");
    EXPECT_EQ(r.SIGPRN, "");
    EXPECT_EQ(r.AATOTAL, 0);
    if (f.rc > 0) {
        EXPECT_EQ(r.CODESERVER, f.rc);
        EXPECT_GT(r.AASERVER, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SigningFailure,
    ::testing::Values(
        ServerFailure{"NeverTakes", {"--never-take"}, 1, -13,
                      "Ο server δεν πήρε την αίτηση! Πιθανώς είναι εκτός λειτουργίας ή η σύνδεση έχει διακοπεί"},
        ServerFailure{"NeverAnswers", {"--no-answer"}, 1, -15, "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"},
        ServerFailure{"TooSlow", {"--slow", "2500"}, 1, -15, "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"},
        ServerFailure{"CrashesAfterTaking", {"--crash-after-take"}, 1, -15,
                      "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"},
        ServerFailure{"DeviceFailure", {"--code", "9", "--dev", "520"}, 5, 9,
                      "Server: Αποτυχία υπογραφής! Device:  /Paper out /Busy"},
        ServerFailure{"NoDevice", {"--code", "3"}, 5, 3, "Server: Αδυναμία επικοινωνίας με συσκευή!"},
        ServerFailure{"CompanyData", {"--code", "-100"}, 5, -100, "Server: Ενημερώστε τα στοιχεία της επιχείρησης!"},
        ServerFailure{"WrongEcho", {"--wrong-echo"}, 5, -12, "GUID conflict!"},
        ServerFailure{"WrongFirstLine", {"--wrong-command"}, 5, -111, "GETSIGN EXPECTED!"},
        ServerFailure{"NotANumber", {"--bad-number"}, 5, -11, "CORRUPTED FILE!"}),
    [](const ::testing::TestParamInfo<ServerFailure>& i) { return std::string(i.param.name); });

TEST_F(Signing, SlowReplyWithinTheLimitIsTaken) {
    startServer({"--slow", "600"});
    Doc d;
    EAFDSSREC r;
    EXPECT_EQ(sign(writeDoc(), d, r, 3), 0);
    EXPECT_EQ(r.AATOTAL, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Signing, RefetchFailures) {
    EAFDSSREC r;
    startServer({"--never-take"});
    EXPECT_EQ(signOld(1, r, 1), -13);
    EXPECT_TRUE(messages.empty()) << "a re-fetch that was never taken shows nothing";
    EXPECT_TRUE(folderFiles().empty());
    stopServer();
    startServer({"--wrong-command"});
    EXPECT_EQ(signOld(1, r, 5), -12);
    stopServer();
    startServer({"--no-answer"});
    EXPECT_EQ(signOld(1, r, 1), -15);
    std::vector<std::string> want = {"GUID conflict!", "Ο server έλαβε την αίτηση αλλά δεν απάντησε εμπρόθεσμα!"};
    EXPECT_EQ(messages, want);
    EXPECT_TRUE(folderFiles().empty());
}

TEST_F(Signing, EscGivesUpTheWaitForTheFlag) {
    startServer({"--never-take"});
    Doc d;
    EAFDSSREC r;
    con->ch(27);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(sign(writeDoc(), d, r, 60), -13);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    EXPECT_TRUE(folderFiles().empty());
}

// ---- Replies read through the recovery (written here by hand) ---------------------------------------

TEST_F(Signing, RepliesThatAreNotSoundAreFailedRequests) {
    Doc d;
    struct Case {
        const char* name;
        std::string reply;
        int16_t rc;
        const char* message;
    } cases[] = {
        {"not OK with code 0", "GETSIGN\r\n3\r\n0\r\n17\r\nERROR\r\n4\r\n0\r\n0\r\n", -11, "CORRUPTED FILE!"},
        {"not OK beyond a result", "GETSIGN\r\n3\r\n0\r\n17\r\nERROR\r\n4\r\n70000\r\n0\r\n", -11, "CORRUPTED FILE!"},
        {"OK with total 0", okReply(d, 0), -11, "CORRUPTED FILE!"},
        {"OK with a negative total", okReply(d, -1), -11, "CORRUPTED FILE!"},
        {"cut short", "GETSIGN\r\n3\r\n0\r\n17\r\nOK\r\n4\r\n0\r\n0\r\nKVX\r\n", -11, "CORRUPTED FILE!"},
        {"echo not a number", "GETSIGN\r\nX\r\n0\r\n17\r\nOK\r\n", -11, "CORRUPTED FILE!"},
        {"device bits not a number", "GETSIGN\r\n3\r\n0\r\n17\r\nERROR\r\n4\r\n9\r\n1x\r\n", -11, "CORRUPTED FILE!"},
        {"other record", "GETSIGN\r\n3\r\n0\r\n18\r\nOK\r\n", -12, "GUID conflict!"},
        {"other application", "GETSIGN\r\n4\r\n0\r\n17\r\nOK\r\n", -12, "GUID conflict!"},
        {"wrong first line", "GETSIGNOLD\r\n3\r\n0\r\n17\r\nOK\r\n", -111, "GETSIGN EXPECTED!"},
        {"binary garbage", std::string("\x01\x02\x03\xFF\x00\x00", 6), -111, "GETSIGN EXPECTED!"},
        {"LF line ends", "GETSIGN\n3\n0\n17\nOK\n5\n0\n0\nKVX00000009\n04/03/09\n09:15\n3\n12\n2\nSIG\n", 0, ""},
    };
    for (const auto& c : cases) {
        messages.clear();
        openRequest("0301ZZ", d, false, false, c.reply);
        EAFDSSREC r;
        EXPECT_EQ(sign(writeDoc(), d, r, 1), c.rc) << c.name;
        if (c.rc == 0)
            EXPECT_TRUE(messages.empty()) << c.name;
        else
            EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(folderFiles().empty()) << c.name;
        EXPECT_FALSE(TESTS::exists(work->file("DOC.tmp"))) << c.name;
    }
}

// ---- Recovery of an open request -------------------------------------------------------------------

TEST_F(Signing, CheckstateInEachState) {
    Doc d;
    FORMIX::OPENREQ o;
    EXPECT_EQ(FORMIX::CHECKSTATE(3, o), 0);

    openRequest("0301AA", d, true, true);  // written, never taken
    EXPECT_EQ(FORMIX::CHECKSTATE(3, o), 1);
    EXPECT_EQ(o.GUID, "0301AA");
    EXPECT_EQ(o.COMMAND, "GETSIGN");
    EXPECT_EQ(o.RECID, 17);
    EXPECT_EQ(PLAT::cp737ToUtf8(o.MESS),
              "ΤΠΥ        Α       17 O server δεν έλαβε κάποια αίτηση, η διαδικασία πρέπει να επαναληφθεί!");
    EXPECT_TRUE(folderFiles().empty());

    openRequest("0301AB", d, false, true);  // taken, not answered
    EXPECT_EQ(FORMIX::CHECKSTATE(3, o), 2);
    EXPECT_EQ(PLAT::cp737ToUtf8(o.MESS), "ΤΠΥ        Α       17 O server έλαβε αίτηση αλλά δεν απάντησε! Ελέγξτε τον server");
    EXPECT_TRUE(folderFiles().empty());

    openRequest("0301AC", d, false, false, okReply(d, 4));  // answered, not read
    EXPECT_EQ(FORMIX::CHECKSTATE(3, o), 3);
    EXPECT_EQ(PLAT::cp737ToUtf8(o.MESS), "ΤΠΥ        Α       17 Η υπογραφή είναι έτοιμη! Εκκρεμεί η επεξεργασία της");
    EXPECT_EQ(folderFiles(), (std::vector<std::string>{"0301AC.pqt", "0301AC.rpl"})) << "nothing deleted";
    fs::remove(folder + "/0301AC.pqt");
    fs::remove(folder + "/0301AC.rpl");

    // Being answered: state 0, and its reply is kept even though stray replies are cleared.
    openRequest("0301AD", d, false, true, okReply(d, 5));
    TESTS::writeFile(folder + "/0301QQ.rpl", "stray");
    TESTS::writeFile(folder + "/0302QQ.rpl", "another terminal's");
    TESTS::writeFile(folder + "/0302QQ.pqt", "another terminal's");
    EXPECT_EQ(FORMIX::CHECKSTATE(3, o), 0);
    EXPECT_EQ(folderFiles(), (std::vector<std::string>{"0301AD.flg", "0301AD.pqt", "0301AD.rpl", "0302QQ.pqt",
                                                       "0302QQ.rpl"}));
}

TEST_F(Signing, RecoveryReportsAnUntakenAndAnUnansweredRequestThenSigns) {
    Doc d;
    openRequest("0301AA", d, false, true);  // taken by a server that then stopped
    startServer();
    EAFDSSREC r;
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    EXPECT_EQ(r.AATOTAL, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("O server έλαβε αίτηση αλλά δεν απάντησε! Ελέγξτε τον server"), std::string::npos)
        << messages[0];
    EXPECT_TRUE(folderFiles().empty());
    stopServer();

    messages.clear();
    openRequest("0301AB", d, true, true);  // never taken; the server is down
    startServer({"--never-take"});
    EXPECT_EQ(sign(writeDoc(), d, r, 1), -13);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("O server δεν έλαβε κάποια αίτηση"), std::string::npos) << messages[0];
    EXPECT_TRUE(folderFiles().empty());
}

TEST_F(Signing, WaitingReplyIsTakenOnlyForTheSameDocument) {
    Doc d;
    // Same record: the waiting reply is the answer, nothing new is sent.
    openRequest("0301AA", d, false, false, okReply(d, 41, std::string(40, 'A')));
    startServer();
    EAFDSSREC r;
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    EXPECT_EQ(r.AATOTAL, 41);
    EXPECT_EQ(r.SIG, std::string(40, 'A'));
    EXPECT_EQ(r.SIGPRN, std::string(40, 'A') + " 0003 00000041 0903040915 KVX00000009");
    EXPECT_EQ(journalLines(), 0) << "no new request";
    EXPECT_FALSE(TESTS::exists(work->file("DOC.tmp"))) << "the temporary copy is deleted though not sent";
    EXPECT_TRUE(folderFiles().empty());

    // Same record id but another series or number: cleared, and this document is signed anew.
    for (auto change : {std::function<void(Doc&)>([](Doc& x) { x.series = gr("Β") + "  "; }),
                        std::function<void(Doc&)>([](Doc& x) { x.kind = "A" + gr("ΤΠΥ"); }),
                        std::function<void(Doc&)>([](Doc& x) { x.reckind = 1; })}) {
        Doc other = d;
        change(other);
        openRequest("0301AB", other, false, false, okReply(other, 42));
        ASSERT_EQ(sign(writeDoc(), d, r), 0);
        EXPECT_NE(r.AATOTAL, 42);
        EXPECT_TRUE(folderFiles().empty());
    }
    EXPECT_EQ(journalLines(), 3);
    // A waiting re-fetch, or a request of another kind, is cleared too.
    openRequest("0301AC", d, false, false, okReply(d, 43), "GETSIGNOLD");
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    EXPECT_EQ(r.AATOTAL, 4);
    openRequest("0301AD", d, false, false, okReply(d, 44), "PRINTZ");
    EXPECT_EQ(sign(writeDoc(), d, r), -11);
    EXPECT_TRUE(folderFiles().empty());
    EXPECT_EQ(messages, std::vector<std::string>{"CORRUPTED FILE!"});
}

TEST_F(Signing, GivingUpTheReplyLeavesItForTheNextRequest) {
    Doc d;
    openRequest("0301AA", d, false, false, "\r\n");  // a reply still being written
    EAFDSSREC r;
    con->ch(27);
    EXPECT_EQ(sign(writeDoc(), d, r, 30), -19);
    EXPECT_EQ(messages, std::vector<std::string>{
                            "Η υπογραφή δεν έφτασε ακόμη! Αν φτάσει, θα παραληφθεί με την επόμενη αίτηση σήμανσης"});
    EXPECT_EQ(folderFiles(), (std::vector<std::string>{"0301AA.pqt", "0301AA.rpl"}));
    TESTS::writeFile(folder + "/0301AA.rpl", okReply(d, 7));
    ASSERT_EQ(sign(writeDoc(), d, r), 0);
    EXPECT_EQ(r.AATOTAL, 7);
    EXPECT_TRUE(folderFiles().empty());
}

// A workstation stopped while it waits (killed), and the next request of the same document.
TEST_F(Signing, ProgramStoppedWhileWaitingThenSigningAgain) {
    startServer({"--slow", "400"});
    Doc d;
    for (bool same : {true, false}) {
        const int before = journalLines();
        pid_t child = fork();
        if (child == 0) {
            PLAT::setThrowOnExit(false);
            EAFDSSREC r;
            sign(writeDoc("CHILD.tmp"), d, r, 30);
            _exit(0);
        }
        // Killed once the server has taken the request; the server answers after that.
        waitUntil([&] { return any(".pqt") && !any(".rqt") && any(".flg"); });
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        waitUntil([&] { return any(".rpl") && !any(".flg"); });
        EXPECT_EQ(journalLines(), before + 1);

        Doc again = d;
        if (!same) again.number = 99;
        EAFDSSREC r;
        ASSERT_EQ(sign(writeDoc(), again, r, 5, same ? 17 : 99), 0);
        EXPECT_EQ(r.AATOTAL, before + 1 + (same ? 0 : 1)) << (same ? "the waiting signature" : "a new one");
        EXPECT_EQ(journalLines(), before + (same ? 1 : 2));
        EXPECT_TRUE(folderFiles().empty());
        EXPECT_TRUE(messages.empty());
    }
}

// Two workstations of one company, with one terminal number, sign at once against one server.
TEST_F(Signing, TwoWorkstationsSigningAtOnceLoseNothing) {
    startServer();
    const int N = 6;
    std::vector<pid_t> kids;
    for (int ws = 0; ws < 2; ++ws) {
        pid_t p = fork();
        if (p == 0) {
            PLAT::setThrowOnExit(false);
            std::srand(unsigned(ws + 1));
            std::string totals;
            int rc = 0;
            for (int i = 0; i < N; ++i) {
                Doc d;
                d.number = 100 * (ws + 1) + i;
                EAFDSSREC r;
                std::string name = "WS" + std::to_string(ws) + "_" + std::to_string(i) + ".tmp";
                if (sign(writeDoc(name), d, r, 20) != 0) rc = 1;
                totals += std::to_string(d.number) + " " + std::to_string(r.AATOTAL) + "\n";
            }
            TESTS::writeFile(work->file("WS" + std::to_string(ws) + ".OUT"), totals);
            _exit(rc);
        }
        kids.push_back(p);
    }
    for (pid_t p : kids) {
        int st = 0;
        waitpid(p, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << "every request of a workstation answered";
    }
    std::set<int> totals;
    for (int ws = 0; ws < 2; ++ws) {
        std::istringstream in(TESTS::readFile(work->file("WS" + std::to_string(ws) + ".OUT")));
        int number = 0, total = 0, count = 0;
        while (in >> number >> total) {
            totals.insert(total);
            ++count;
        }
        EXPECT_EQ(count, N);
    }
    EXPECT_EQ(int(totals.size()), 2 * N) << "each document its own signature";
    EXPECT_EQ(*totals.begin(), 1);
    EXPECT_EQ(*totals.rbegin(), 2 * N);
    EXPECT_EQ(journalLines(), 2 * N) << "every request answered once";
    EXPECT_TRUE(folderFiles().empty());
    std::string log = TESTS::readFile(work->file("SRV.LOG"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4 * N) << log;
}

}  // namespace
