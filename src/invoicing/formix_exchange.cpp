// FORMIX: the exchange with the signing server. The two programs meet only through files in the
// exchange folder: the client writes a request's ".txt", ".pqt", ".rqt" and ".flg", the server takes
// ".rqt", writes ".rpl" and removes ".flg". The whole exchange of one company runs under one named
// lock, so two workstations with the same terminal number never clear or take each other's
// requests. Every wait is limited and measured on a monotonic clock; the clerk can leave it with Esc.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <functional>

#include "common/umas.h"
#include "invoicing/formix.h"
#include "invoicing/formixu.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/exchfiles.h"
#include "platform/files.h"
#include "platform/pause.h"

namespace FORMIX {

namespace {

// The exchange folder as set, without trailing blanks or backslashes; none while the settings
// hold a bad value.
std::string folder() {
    if (!FORMIXFAULT.empty()) return std::string();
    std::string f = UMAS::CUTLEADSPACES(FORMIXPATH);
    while (!f.empty() && (f.back() == '\\' || f.back() == '/')) f.pop_back();
    return f;
}

bool has(const std::string& guid, const char* ext) { return PLAT::fileExists(XFILE(guid, ext)); }

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = s.find('\n', i);
        size_t end = j == std::string::npos ? s.size() : j;
        size_t len = end - i;
        if (len > 0 && s[end - 1] == '\r') --len;
        lines.push_back(s.substr(i, len));
        if (j == std::string::npos) break;
        i = j + 1;
    }
    return lines;
}

// A decimal whole number with blanks around it; false for anything else or beyond 32 bits.
bool number(const std::string& s, int32_t& v) {
    std::string t = UMAS::CUTLEADSPACES(UMAS::REMLCH(s, ' '));
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    if (i == t.size()) return false;
    int64_t x = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        x = x * 10 + (t[i] - '0');
        if (x > int64_t(INT32_MAX) + 1) return false;
    }
    x = neg ? -x : x;
    if (x > INT32_MAX || x < INT32_MIN) return false;
    v = int32_t(x);
    return true;
}

std::string lines(const std::vector<std::string>& l) {
    std::string s;
    for (const auto& x : l) s += x + "\r\n";
    return s;
}

struct ExchangeLock {
    ExchangeLock() { UMAS::LOCK(EXCHANGE_LOCK); }
    ~ExchangeLock() { UMAS::UNLOC(EXCHANGE_LOCK); }
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;
};

bool escPressed() {
    if (!PLAT::haveConsole()) return false;
    PLAT::Event ev;
    bool esc = false;
    while (PLAT::con().poll(ev))
        if (ev.type == PLAT::Event::KEY && ev.key.ch == 27) esc = true;
    return esc;
}

enum class Wait { DONE, TIMEOUT, ESC };

// Polls done() until it holds, more than `seconds` have passed, or the clerk presses Esc.
Wait waitFor(int32_t seconds, const std::function<bool()>& done) {
    if (PLAT::haveConsole()) PLAT::con().refresh();
    const int64_t start = PLAT::monotonicMs(), limit = int64_t(seconds) * 1000;
    for (;;) {
        if (done()) return Wait::DONE;
        if (PLAT::monotonicMs() - start > limit) return Wait::TIMEOUT;
        if (escPressed()) return Wait::ESC;
        PLAT::sleepMs(10);
    }
}

// True as soon as id + ".flg" is gone; false when it is still there after more than TIMOUT seconds
// (or the clerk gave up with Esc).
bool WATCHFORFLAG(const std::string& id, int32_t TIMOUT) {
    return waitFor(TIMOUT, [&] { return !has(id, ".flg"); }) == Wait::DONE;
}

// 1 when id + ".rqt" no longer exists (the server took it), 0 when it still exists.
int RQTGOTBYSERVER(const std::string& id) { return has(id, ".rqt") ? 0 : 1; }

void DELETEFILE(const std::string& FNAME) { PLAT::tryRemove(FNAME); }
bool TRYTOOPENFILEONCE(const std::string& FNAME) { return PLAT::canOpenForReading(FNAME); }

// Copies S1 to S2; false when S1 cannot be read or S2 cannot be written.
bool COPYFILE(const std::string& S1, const std::string& S2) {
    auto text = PLAT::tryReadWhole(S1);
    return text && PLAT::tryWriteWhole(S2, *text);
}

// The outcome of the locked part: the result and the message to show once the lock is released.
struct Outcome {
    int16_t rc = 0;
    bool show = false;
    int32_t scode = 0, dcode = 0;
};
Outcome fail(int16_t rc, bool show = true) { return Outcome{rc, show, 0, 0}; }

void showOutcome(const Outcome& o) {
    if (o.rc != 0 && o.show)
        DISPLAYMESSDUR(5, o.rc < 0 && o.scode == 0 ? GETERRORSTRING(o.rc, 0, 0) : GETERRORSTRING(0, o.scode, o.dcode));
}

// The reply fields as read.
struct Reply {
    int32_t AASERVER = 0, CODESERVER = 0, CODEDEV = 0, AADAY = 0, AATOTAL = 0, AAZ = 0;
    std::string DEVICEID, DATES, TIMES, SIG;
};

Outcome readReply(const std::optional<std::string>& text, bool old, int32_t APPID, int32_t RECKIND, int32_t RECID,
                  Reply& R);

// Waits for the reply of request id and reads it. GETSIGN: the reply must exist together with the
// request's ".pqt", and is read after a pause of 1500 ms; GETSIGNOLD reads it as soon as it is there.
// A wait that ends without a reply leaves a GETSIGN request open for the next recovery.
Outcome takeReply(const std::string& id, bool old, int32_t TIMOUT, int32_t APPID, int32_t RECKIND, int32_t RECID,
                  Reply& R) {
    auto giveUp = [&]() {
        if (old) {
            CLEARFILES(id);
            return fail(R_NOANSWER);
        }
        return fail(R_NOREPLYYET);
    };
    if (waitFor(TIMOUT, [&] { return (old || has(id, ".pqt")) && has(id, ".rpl"); }) != Wait::DONE) return giveUp();
    if (!old) PLAT::pause(1500);
    if (waitFor(TIMOUT, [&] { return PLAT::fileSize(XFILE(id, ".rpl")) > 2; }) != Wait::DONE) return giveUp();
    DELETEFILE(XFILE(id, ".pqt"));
    auto text = PLAT::tryReadWhole(XFILE(id, ".rpl"));
    DELETEFILE(XFILE(id, ".rpl"));
    Outcome o = readReply(text, old, APPID, RECKIND, RECID, R);
    // A request closed by a failure leaves nothing behind (the document text is of no further use).
    if (o.rc != 0) DELETEFILE(XFILE(id, ".txt"));
    return o;
}

// Reads a reply (nullopt: it could not be read).
Outcome readReply(const std::optional<std::string>& text, bool old, int32_t APPID, int32_t RECKIND, int32_t RECID,
                  Reply& R) {
    if (!text) return fail(R_CORRUPT);
    const std::vector<std::string> L = splitLines(*text);
    auto line = [&](size_t n) { return n <= L.size() ? UMAS::CUTLEADSPACES(L[n - 1]) : std::string(); };

    if (line(1) != (old ? "GETSIGNOLD" : "GETSIGN")) return fail(old ? R_GUID : R_NOTGETSIGN);
    int32_t a = 0, k = 0, r = 0;
    if (!number(line(2), a) || !number(line(3), k) || !number(line(4), r)) return fail(R_CORRUPT);
    if (a != APPID || k != RECKIND || r != RECID) return fail(R_GUID);
    if (!number(line(6), R.AASERVER) || !number(line(7), R.CODESERVER) || !number(line(8), R.CODEDEV))
        return fail(R_CORRUPT);
    if (line(5) != "OK") {
        // Not "OK" is a failure whatever the code; a code that cannot stand as a result is reported
        // as a corrupted reply.
        if (R.CODESERVER == 0 || R.CODESERVER < INT16_MIN || R.CODESERVER > INT16_MAX) return fail(R_CORRUPT);
        return Outcome{int16_t(R.CODESERVER), true, R.CODESERVER, R.CODEDEV};
    }
    if (L.size() < 15) return fail(R_CORRUPT);
    R.DEVICEID = L[8];
    R.DATES = L[9];
    R.TIMES = L[10];
    if (!number(line(12), R.AADAY) || !number(line(13), R.AATOTAL) || !number(line(14), R.AAZ))
        return fail(R_CORRUPT);
    if (R.AATOTAL <= 0) return fail(R_CORRUPT);
    R.SIG = L[14];
    return Outcome{};
}

// Writes the request files ".pqt", ".rqt" and ".flg" in that order; false (and the request cleared)
// when one cannot be written.
bool sendRequest(const std::string& id, const std::vector<std::string>& pqt, const std::vector<std::string>& rqt) {
    if (PLAT::tryWriteWhole(XFILE(id, ".pqt"), lines(pqt)) && PLAT::tryWriteWhole(XFILE(id, ".rqt"), lines(rqt)) &&
        PLAT::tryWriteWhole(XFILE(id, ".flg"), "\r\n"))
        return true;
    CLEARFILES(id);
    return false;
}

// Reads id + ".pqt" into R; returns the description of its document.
std::string GETPQTDATA(const std::string& id, OPENREQ& R) {
    R.COMMAND = "-";
    R.RECKIND = R.RECID = R.PARAA = 0;
    R.PARKIND.clear();
    R.PARSEI.clear();
    auto text = PLAT::tryReadWhole(XFILE(id, ".pqt"));
    if (!text) return std::string();
    const std::vector<std::string> L = splitLines(*text);
    auto line = [&](size_t n) { return n <= L.size() ? L[n - 1] : std::string(); };
    R.COMMAND = UMAS::CUTLEADSPACES(line(1));
    R.RECKIND = UMAS::S2LO(line(3));
    R.RECID = UMAS::S2LO(line(4));
    R.PARKIND = line(7);
    R.PARSEI = line(8);
    R.PARAA = UMAS::S2LO(line(9));
    return UMAS::LEJU(R.PARKIND, 10) + " " + UMAS::LEJU(R.PARSEI, 3) + " " + DLO2S(R.PARAA, 6);
}

// 0 when id + ".rpl" does not exist; else 1 when id + ".flg" does not exist, 2 when it does.
int RPLRETURNEDBYSERVER(const std::string& id) {
    if (!has(id, ".rpl")) return 0;
    return has(id, ".flg") ? 2 : 1;
}

}  // namespace

std::string XFILE(const std::string& GUID, const std::string& EXT) { return folder() + "\\" + GUID + EXT; }

std::string PREFIX(int32_t APPID) {
    return UMAS::LZ(std::to_string(APPID), 2) + UMAS::LZ(std::to_string(FORMIXSAA), 2);
}

std::string GETGUID(int32_t APPID) {
    static const char TAB[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
    std::string id = PREFIX(APPID);
    for (int i = 0; i < 2; ++i) id += TAB[std::rand() % 72];
    return id;
}

std::string NEWGUID(int32_t APPID) {
    // The exchange lock is held: nobody else picks or creates a name meanwhile, and the server
    // writes only for a request it has found, so a name none of whose files exists is free.
    for (int draw = 0; draw < 20000; ++draw) {
        std::string id = GETGUID(APPID);
        bool used = false;
        for (const char* ext : {".rqt", ".pqt", ".txt", ".rpl", ".flg"}) used = used || has(id, ext);
        if (!used) return id;
    }
    return std::string();
}

void CLEARFILES(const std::string& GUID) {
    for (const char* ext : {".rqt", ".pqt", ".txt", ".rpl", ".flg"}) DELETEFILE(XFILE(GUID, ext));
}

std::string DLO2S(int32_t L, int N) {
    if (L == 0) return std::string(size_t(std::max(N, 0)), ' ');
    std::string s = std::to_string(L);
    return int(s.size()) < N ? std::string(size_t(N) - s.size(), ' ') + s : s;
}

std::string SIGLINE(const std::string& SIG, int32_t AADAY, int32_t AATOTAL, const std::string& DATES,
                    const std::string& TIMES, const std::string& DEVICEID) {
    auto at = [](const std::string& s, size_t from1) { return from1 - 1 < s.size() ? s.substr(from1 - 1, 2) : ""; };
    return UMAS::LEJU(SIG, 40) + " " + UMAS::LZ(std::to_string(AADAY), 4) + " " +
           UMAS::LZ(std::to_string(AATOTAL), 8) + " " + at(DATES, 7) + at(DATES, 4) + at(DATES, 1) + at(TIMES, 1) +
           at(TIMES, 4) + " " + UMAS::LEJU(DEVICEID, 11);
}

int16_t CHECKSTATE(int32_t APPID, OPENREQ& R) {
    R = OPENREQ{};
    int16_t state = 0;
    const std::string pre = PREFIX(APPID);
    auto open = PLAT::findFiles(folder(), pre + "*.pqt");
    if (!open.empty()) {
        R.GUID = open.front().substr(0, open.front().size() - 4);
        const std::string desc = GETPQTDATA(R.GUID, R);
        if (has(R.GUID, ".rqt")) {
            CLEARFILES(R.GUID);
            R.MESS = desc + " " + PLAT::gr("O server δεν έλαβε κάποια αίτηση, η διαδικασία πρέπει να επαναληφθεί!");
            state = 1;
        } else {
            switch (RPLRETURNEDBYSERVER(R.GUID)) {
            case 0:
                R.MESS = desc + " " + PLAT::gr("O server έλαβε αίτηση αλλά δεν απάντησε! Ελέγξτε τον server");
                DELETEFILE(XFILE(R.GUID, ".pqt"));
                DELETEFILE(XFILE(R.GUID, ".flg"));
                state = 2;
                break;
            case 1:
                R.MESS = desc + " " + PLAT::gr("Η υπογραφή είναι έτοιμη! Εκκρεμεί η επεξεργασία της");
                state = 3;
                break;
            default: break;  // the server is answering it
            }
        }
    }
    if (state == 0) {
        // Replies that no request waits for; one whose ".pqt" still exists is kept.
        for (const auto& name : PLAT::findFiles(folder(), pre + "*.rpl")) {
            const std::string id = name.substr(0, name.size() - 4);
            if (has(id, ".pqt")) continue;
            if (TRYTOOPENFILEONCE(XFILE(id, ".rpl"))) DELETEFILE(XFILE(id, ".rpl"));
        }
    }
    return state;
}

int16_t GETSIGNATURE(const std::string& FNAME, const std::string& DATEIN, const std::string& PARKIND,
                     const std::string& PARSEI, int32_t PARAA, int32_t APPID, int32_t RECKIND, int32_t RECID,
                     int32_t TIMOUT, int32_t& AASERVER, int32_t& CODESERVER, int32_t& CODEDEV,
                     std::string& DEVICEID, std::string& DATES, std::string& TIMES, int32_t& AADAY,
                     int32_t& AATOTAL, int32_t& AAZ, std::string& SIG, std::string& STPRN) {
    // The converted copy: FNAME with its last three characters replaced by "t_o".
    const std::string converted = (FNAME.size() >= 3 ? FNAME.substr(0, FNAME.size() - 3) : std::string()) + "t_o";
    auto dropDocument = [&] {
        DELETEFILE(FNAME);
        DELETEFILE(converted);
    };
    if (folder().empty()) {
        dropDocument();
        showOutcome(fail(R_NOPATH));
        return R_NOPATH;
    }
    if (!PLAT::fileExists(FNAME)) {
        dropDocument();
        showOutcome(fail(R_NODOC));
        return R_NODOC;
    }
    AASERVER = CODESERVER = CODEDEV = AADAY = AATOTAL = AAZ = 0;
    DEVICEID.clear();
    DATES.clear();
    TIMES.clear();
    SIG.clear();
    STPRN.clear();
    if (TIMOUT <= 0) TIMOUT = 30;

    Reply R;
    Outcome out;
    {
        ExchangeLock lock;
        std::string id;
        std::vector<std::string> seen;
        auto run = [&]() -> Outcome {
            // Recovery of an open request of this application and terminal.
            for (;;) {
                OPENREQ O;
                int16_t st = CHECKSTATE(APPID, O);
                if (st == 0) break;
                // A request found again was not cleared: the folder cannot be worked in.
                if (std::find(seen.begin(), seen.end(), O.GUID) != seen.end()) return fail(R_NOSEND);
                seen.push_back(O.GUID);
                if (st == 1 || st == 2) {
                    DISPLAYMESSDUR(5, O.MESS);
                    continue;
                }
                if (O.COMMAND == "-" || O.COMMAND == "GETSIGNOLD" || O.COMMAND == "GETDEVICEDATA" ||
                    O.COMMAND == "RESENDPARAST") {
                    CLEARFILES(O.GUID);
                    continue;
                }
                if (O.COMMAND == "GETSIGN") {
                    // Taken as this document's signature only when it was asked for this very document.
                    if (O.RECKIND == RECKIND && O.RECID == RECID && O.PARKIND == PARKIND && O.PARSEI == PARSEI &&
                        O.PARAA == PARAA)
                        return takeReply(O.GUID, false, TIMOUT, APPID, RECKIND, RECID, R);
                    CLEARFILES(O.GUID);
                    continue;
                }
                CLEARFILES(O.GUID);
                return fail(R_CORRUPT);
            }

            if (!FORMIXU::TABSOUT(FNAME, converted)) return fail(R_NOSEND);
            id = NEWGUID(APPID);
            if (id.empty()) return fail(R_NOSEND);
            const bool copied = COPYFILE(converted, XFILE(id, ".txt"));
            dropDocument();
            if (!copied) return fail(R_NOSEND);

            std::vector<std::string> pqt = {"GETSIGN",
                                            std::to_string(APPID),
                                            std::to_string(RECKIND),
                                            std::to_string(RECID),
                                            id + ".txt",
                                            DATEIN,
                                            PARKIND,
                                            PARSEI,
                                            std::to_string(PARAA)};
            std::vector<std::string> rqt = pqt;
            rqt[6] = FORMIXU::CP737TO1253(PARKIND);
            rqt[7] = FORMIXU::CP737TO1253(PARSEI);
            if (!sendRequest(id, pqt, rqt)) return fail(R_NOSEND);

            if (!WATCHFORFLAG(id, TIMOUT)) {
                const bool taken = RQTGOTBYSERVER(id) == 1;
                CLEARFILES(id);
                return fail(taken ? R_NOANSWER : R_NOTTAKEN);
            }
            return takeReply(id, false, TIMOUT, APPID, RECKIND, RECID, R);
        };
        out = run();
    }
    dropDocument();
    if (out.rc == 0 || out.scode != 0) {
        AASERVER = R.AASERVER;
        CODESERVER = R.CODESERVER;
        CODEDEV = R.CODEDEV;
    }
    if (out.rc == 0) {
        DEVICEID = R.DEVICEID;
        DATES = R.DATES;
        TIMES = R.TIMES;
        AADAY = R.AADAY;
        AATOTAL = R.AATOTAL;
        AAZ = R.AAZ;
        SIG = R.SIG;
        STPRN = SIGLINE(SIG, AADAY, AATOTAL, DATES, TIMES, DEVICEID);
    }
    showOutcome(out);
    return out.rc;
}

int16_t GETOLDSIGNATURE(int32_t AATOTAL, int32_t APPID, int32_t RECKIND, int32_t RECID, int32_t TIMOUT,
                        int32_t& AASERVER, int32_t& CODESERVER, int32_t& CODEDEV, std::string& DEVICEID,
                        std::string& DATES, std::string& TIMES, int32_t& AADAY, int32_t& AAZ,
                        std::string& SIG, std::string& STPRN) {
    if (folder().empty()) {
        showOutcome(fail(R_NOPATH));
        return R_NOPATH;
    }
    AASERVER = CODESERVER = CODEDEV = AADAY = AAZ = 0;
    DEVICEID.clear();
    DATES.clear();
    TIMES.clear();
    SIG.clear();
    STPRN.clear();
    if (TIMOUT <= 0) TIMOUT = 30;

    Reply R;
    Outcome out;
    {
        ExchangeLock lock;
        auto run = [&]() -> Outcome {
            const std::string id = NEWGUID(APPID);
            if (id.empty()) return fail(R_NOSEND);
            std::vector<std::string> req = {"GETSIGNOLD", std::to_string(APPID), std::to_string(RECKIND),
                                            std::to_string(RECID), std::to_string(AATOTAL)};
            if (!sendRequest(id, req, req)) return fail(R_NOSEND);
            if (!WATCHFORFLAG(id, TIMOUT)) {
                const bool taken = RQTGOTBYSERVER(id) == 1;
                CLEARFILES(id);
                return taken ? fail(R_NOANSWER) : fail(R_NOTTAKEN, false);
            }
            return takeReply(id, true, TIMOUT, APPID, RECKIND, RECID, R);
        };
        out = run();
    }
    if (out.rc == 0 || out.scode != 0) {
        AASERVER = R.AASERVER;
        CODESERVER = R.CODESERVER;
        CODEDEV = R.CODEDEV;
    }
    if (out.rc == 0) {
        DEVICEID = R.DEVICEID;
        DATES = R.DATES;
        TIMES = R.TIMES;
        AADAY = R.AADAY;
        AAZ = R.AAZ;
        SIG = R.SIG;
        STPRN = SIGLINE(SIG, AADAY, R.AATOTAL, DATES, TIMES, DEVICEID);
    }
    showOutcome(out);
    return out.rc;
}

}  // namespace FORMIX
