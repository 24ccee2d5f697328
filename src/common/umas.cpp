// UMAS: shared state, the text, number and date routines, the named locks and the in-use slots.
#include "common/umas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "platform/process.h"
#include "print/prns.h"
#include "screen/scr.h"

namespace UMAS {

// ---- Shared state ------------------------------------------------------------------------------

std::vector<CONV> MPR;
CRTBFR* CRP = nullptr;

std::string USER_ID;
std::string PATH;
double RAEE = 0;
std::array<std::string, 10> LOGOTYPO;
std::string DEFAULT_POLI;
std::string AFM_EKTEL;
std::string KALOS1, KALOS2;
double EURO = 0;
std::string SEURO;
bool ARDEX = false;

std::array<RECPAREDE, 21> PAREDE;
uint8_t TIMEUR = 0;
bool HLEK4 = false;
std::array<uint8_t, PTAX_SIZE> PTAX{};

CONV CONV::make(int x1, int y1, int x2, int y2) {
    CONV c;
    int w = x2 - x1 + 1, h = y2 - y1 + 1;
    size_t cells = (w > 0 && h > 0) ? size_t(w) * size_t(h) : 0;
    c.raw.assign(8 + 2 * cells, 0);
    PLAT::putW(&c.raw[0], uint16_t(x1));
    PLAT::putW(&c.raw[2], uint16_t(y1));
    PLAT::putW(&c.raw[4], uint16_t(x2));
    PLAT::putW(&c.raw[6], uint16_t(y2));
    return c;
}

CONV* mask(int n) {
    if (n < 1 || size_t(n) >= MPR.size() || MPR[size_t(n)].raw.size() < 8) return nullptr;
    return &MPR[size_t(n)];
}

std::string encodePAREDE(const std::array<RECPAREDE, 21>& t) {
    std::string out(PAREDE_SIZE, '\0');
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (size_t i = 1; i <= 20; ++i) {
        uint8_t* r = p + (i - 1) * RECPAREDE::SIZE;
        PLAT::putS(r, 40, t[i].MAL);
        PLAT::putB(r + 41, t[i].TIMI);
    }
    return out;
}

void decodePAREDE(const std::string& bytes, std::array<RECPAREDE, 21>& t) {
    // A short file reads as if zero-filled to its full size.
    std::string img(PAREDE_SIZE, '\0');
    img.replace(0, std::min(bytes.size(), PAREDE_SIZE), bytes, 0, std::min(bytes.size(), PAREDE_SIZE));
    const auto* p = reinterpret_cast<const uint8_t*>(img.data());
    for (size_t i = 1; i <= 20; ++i) {
        const uint8_t* r = p + (i - 1) * RECPAREDE::SIZE;
        t[i].MAL = PLAT::getS(r, 40);
        t[i].TIMI = PLAT::getB(r + 41);
    }
}

void derivePAREDE() {
    TIMEUR = PAREDE[7].TIMI;
    HLEK4 = PAREDE[20].TIMI == 2;
}

// ---- Text, number and date routines -----------------------------------------------------------

namespace {

std::string cut255(std::string s) {
    if (s.size() > 255) s.resize(255);
    return s;
}

int clampLen(int n) { return n < 0 ? 0 : n > 255 ? 255 : n; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A part of a date text: its number when every character is a digit, else 0.
int pairValue(const std::string& s, size_t pos, size_t len) {
    if (pos >= s.size()) return 0;
    std::string p = s.substr(pos, len);
    if (p.empty()) return 0;
    int v = 0;
    for (char c : p) {
        if (!isDigit(c)) return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string twoDigits(int v) { return LZ(std::to_string(v), 2); }

}  // namespace

std::string SPACS() { return std::string(255, ' '); }

bool FILEEXIST(const std::string& S) { return PLAT::fileExists(S); }

double EVAL(const std::string& S) {
    size_t i = 0, n = S.size();
    while (i < n && S[i] == ' ') ++i;
    bool neg = false;
    if (i < n && (S[i] == '+' || S[i] == '-')) {
        neg = S[i] == '-';
        ++i;
    }
    size_t numStart = i;
    size_t intDigits = 0, fracDigits = 0;
    while (i < n && isDigit(S[i])) ++i, ++intDigits;
    size_t end = i;
    if (i < n && S[i] == '.') {
        size_t j = i + 1;
        while (j < n && isDigit(S[j])) ++j, ++fracDigits;
        if (fracDigits > 0 || intDigits > 0) end = j;
        i = j;
    }
    if (intDigits == 0 && fracDigits == 0) return 0;
    // An exponent counts only when it is complete ("1E5", "1E-5"; not "1E" or "1E+").
    if (end < n && (S[end] == 'E' || S[end] == 'e')) {
        size_t j = end + 1;
        if (j < n && (S[j] == '+' || S[j] == '-')) ++j;
        size_t k = j;
        while (k < n && isDigit(S[k])) ++k;
        if (k > j) end = k;
    }
    std::string num = S.substr(numStart, end - numStart);
    if (num.front() == '.') num.insert(num.begin(), '0');
    if (num.back() == '.') num.pop_back();
    double v = 0;
    auto r = std::from_chars(num.data(), num.data() + num.size(), v);
    if (r.ec != std::errc()) return 0;
    return neg ? -v : v;
}

std::string CUTLEADSPACES(const std::string& S) { return CUTLEADCHAR(S, ' '); }

std::string trim(const std::string& S) {
    size_t a = S.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return S.substr(a, S.find_last_not_of(' ') - a + 1);
}

std::string cut(const std::string& S, size_t N) { return S.substr(0, std::min(S.size(), N)); }

std::string padTo(const std::string& S, size_t N) {
    std::string r = S.substr(0, std::min(S.size(), N));
    r.resize(N, ' ');
    return r;
}

std::string CUTLEADCHAR(const std::string& S, char C) {
    size_t n = S.size();
    while (n > 0 && S[n - 1] == C) --n;
    return S.substr(0, n);
}

std::string REMLCH(const std::string& S, char C) {
    size_t i = 0;
    while (i < S.size() && S[i] == C) ++i;
    return S.substr(i);
}

std::string CENTE(const std::string& S, int N) {
    N = clampLen(N);
    if (int(S.size()) >= N) return S.substr(0, size_t(N));
    int total = N - int(S.size());
    int right = total / 2, left = total - right;  // an odd blank goes to the left
    return std::string(size_t(left), ' ') + S + std::string(size_t(right), ' ');
}

std::string LEJU(const std::string& S, int N) {
    N = clampLen(N);
    if (int(S.size()) >= N) return S.substr(0, size_t(N));
    return S + std::string(size_t(N) - S.size(), ' ');
}

std::string RIJU(const std::string& S, int N) {
    N = clampLen(N);
    if (int(S.size()) >= N) return S.substr(0, size_t(N));
    return std::string(size_t(N) - S.size(), ' ') + S;
}

std::string LZ(const std::string& S, int N) {
    if (int(S.size()) >= N) return S;
    int zeros = std::min(N - int(S.size()), 16);
    return cut255(std::string(size_t(zeros), '0') + S);
}

int32_t S2LO(const std::string& S) {
    size_t b = 0, e = S.size();
    while (b < e && S[b] == ' ') ++b;
    while (e > b && S[e - 1] == ' ') --e;
    if (b == e) return 0;
    bool neg = false;
    if (S[b] == '+' || S[b] == '-') {
        neg = S[b] == '-';
        ++b;
    }
    if (b == e) return 0;
    int64_t v = 0;
    for (size_t i = b; i < e; ++i) {
        if (!isDigit(S[i])) return 0;
        v = v * 10 + (S[i] - '0');
        if (v > int64_t(INT32_MAX) + 1) return 0;
    }
    if (neg) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return 0;
    return int32_t(v);
}

std::string LO2S(int32_t L, int N) {
    N = clampLen(N);
    if (L == 0) return std::string(size_t(N), ' ');
    std::string s = std::to_string(L);
    if (int(s.size()) < N) s = std::string(size_t(N) - s.size(), ' ') + s;
    return s;
}

void ZER(std::string& S) {
    for (char& c : S)
        if (c == ' ') c = '0';
}

void HMVAL(const std::string& H1, int32_t& Z) { Z = HMVAL(H1); }

int32_t HMVAL(const std::string& H1) {
    if (H1.size() != 6 || !isDigit(H1[0]) || H1.compare(0, 2, "00") == 0) return 0;
    int dd = pairValue(H1, 0, 2), mm = pairValue(H1, 2, 2), yy = pairValue(H1, 4, 2);
    if (dd < 1 || dd > 31 || mm < 1 || mm > 12) return 0;
    if (yy < 90) yy += 100;
    return int32_t((dd - 1) + (mm - 1) * 31 + (yy - 90) * 372);
}

bool DATEOK(const std::string& S) {
    if (S.size() != 6) return false;
    for (char c : S)
        if (!isDigit(c)) return false;
    const int dd = pairValue(S, 0, 2), mm = pairValue(S, 2, 2), yy = pairValue(S, 4, 2);
    if (yy >= 50 && yy < 90) return false;
    return PLAT::validDate(yy >= 90 ? 1900 + yy : 2000 + yy, mm, dd);
}

std::string DATE2S(int32_t L) {
    if (L == 0) return "";
    int year = L / 65536, month = (L / 256) % 256, day = L % 256;
    int yy = (year >= 1991 && year <= 1999) ? year - 1900 : year - 2000;
    return LZ(std::to_string(day), 2) + "/" + LZ(std::to_string(month), 2) + "/" + LZ(std::to_string(yy), 2);
}

int32_t S2DATE(const std::string& S) {
    if (S.empty()) return 0;
    int day = pairValue(S, 0, 2), month = pairValue(S, 3, 2), yy = pairValue(S, 6, 2);
    int year = 1900 + yy;
    if (year < 1991) year += 100;
    return int32_t(year * 65536 + month * 256 + day);
}

std::string GETCURDATE() {
    PLAT::DateTime d = PLAT::now();
    return DATE2S(int32_t(d.year * 65536 + d.month * 256 + d.day));
}

std::string GETCURTIME() {
    PLAT::DateTime d = PLAT::now();
    return twoDigits(d.hour) + ":" + twoDigits(d.minute);
}

// ---- Named locks -------------------------------------------------------------------------------
//
// A lock file holds one byte, 1 while taken. The byte is tested and set only under an exclusive OS
// lock on the file, and that OS lock stays with the open file for as long as the named lock is
// held, so the OS lock is what keeps workstations apart. A byte of 1 found with the OS lock free
// was left by a process that died holding it: the lock is simply taken over.
//
// Within this process a lock is re-entrant: taking a lock already held counts up, and only the
// release that matches the first take frees it. A release of a lock not held does nothing.

namespace {

struct Held {
    std::unique_ptr<PLAT::File> file;
    int count = 0;
    int owner = 0;  // the process that took it (a forked child must not release it)
};

std::map<std::string, Held>& heldLocks() {
    static std::map<std::string, Held> h;
    return h;
}

// The exit hook that releases the held locks (registered again after it has run).
int cleanupHook = 0;

std::string lockKey(const std::string& dosFile) {
    std::string r = PLAT::resolve(dosFile);
    if (!r.empty() && r[0] != '/') r = PLAT::workDir() + "/" + r;
    return r;
}

void release(Held& h) {
    if (!h.file || !h.file->isOpen()) return;
    if (h.owner == PLAT::processId()) {
        const uint8_t zero = 0;
        h.file->writeAt(0, &zero, 1);
        PLAT::unlockFd(h.file->handle());
    }
    h.file->close();
}

void lockFile(const std::string& dosFile) {
    std::string key = lockKey(dosFile);
    auto& held = heldLocks();
    auto it = held.find(key);
    if (it != held.end() && it->second.owner == PLAT::processId()) {
        ++it->second.count;
        return;
    }
    if (it != held.end()) held.erase(it);  // inherited from the parent across fork: not ours
    if (cleanupHook == 0)
        cleanupHook = PLAT::addCleanup([] {
            cleanupHook = 0;
            releaseAllLocks();
        });
    auto f = std::make_unique<PLAT::File>();
    f->open(dosFile, PLAT::File::READWRITE_CREATE);  // a missing lock file is created (free)
    while (!PLAT::tryLockFd(f->handle())) PLAT::sleepMs(100);
    const uint8_t one = 1;
    f->writeAt(0, &one, 1);
    Held h;
    h.file = std::move(f);
    h.count = 1;
    h.owner = PLAT::processId();
    held.emplace(key, std::move(h));
}

void unlockFile(const std::string& dosFile) {
    auto& held = heldLocks();
    auto it = held.find(lockKey(dosFile));
    if (it == held.end()) return;
    if (it->second.owner == PLAT::processId() && --it->second.count > 0) return;
    Held h = std::move(it->second);
    held.erase(it);
    release(h);
}

}  // namespace

void LOCK(const std::string& FN) { lockFile(PATH + FN + ".DAT"); }
void UNLOC(const std::string& FN) { unlockFile(PATH + FN + ".DAT"); }
void LOCKIN(const std::string& dir, const std::string& FN) { lockFile(dir + FN + ".DAT"); }
void UNLOCIN(const std::string& dir, const std::string& FN) { unlockFile(dir + FN + ".DAT"); }

void releaseAllLocks() {
    auto& held = heldLocks();
    while (!held.empty()) {
        Held h = std::move(held.begin()->second);
        held.erase(held.begin());
        release(h);
    }
}

// ---- In-use slots ------------------------------------------------------------------------------
//
// A claim is tied to a live holder. The slot file keeps its four string[SS] records; the process
// that claims a slot keeps an exclusive OS lock on that slot's bytes, through a file it keeps open
// for its claims, for as long as the claim lasts. A number in a slot that no live process holds
// that way was left by a workstation that stopped without freeing it: the slot counts as free and
// is taken over. Every read-change-write of the file happens under an exclusive OS lock on the
// byte right after the four slots (the guard), so two claims never cross. A missing file is
// created with four empty slots, a short one is padded with empty slots.

namespace {

// This process's claims in one slot file.
struct Claims {
    std::string dosFile;
    std::unique_ptr<PLAT::File> holder;  // keeps the locks of the claimed slots
    std::array<bool, 4> mine{};
    int ss = 0;
    int owner = 0;  // the process that claimed (a forked child must not free them)
};

std::map<std::string, Claims>& heldClaims() {
    static std::map<std::string, Claims> h;
    return h;
}

// The exit hook that frees the claims (registered again after it has run).
int claimsHook = 0;

// This process's claims in the file, or null; claims inherited from the parent across fork are
// dropped here (their locks stay with the parent).
Claims* ownClaims(const std::string& key) {
    auto& held = heldClaims();
    auto it = held.find(key);
    if (it == held.end()) return nullptr;
    if (it->second.owner != PLAT::processId()) {
        held.erase(it);
        return nullptr;
    }
    return &it->second;
}

struct SlotFile {
    PLAT::File f;
    int ss;
    int64_t rec;
    bool guarded = false;
    std::array<std::string, 4> S;  // as written
    std::array<bool, 4> live{};    // a number held by a live claim (this process's included)

    // tries < 0 waits for the guard; otherwise gives up after that many attempts (exit paths).
    SlotFile(const std::string& dosFile, int SS, int tries = -1) : ss(SS), rec(SS + 1) {
        f.open(dosFile, PLAT::File::READWRITE_CREATE);
        if (tries < 0) {
            PLAT::lockRange(f.handle(), 4 * rec, 1);
        } else {
            while (!PLAT::tryLockRange(f.handle(), 4 * rec, 1)) {
                if (--tries <= 0) return;
                PLAT::sleepMs(20);
            }
        }
        guarded = true;
        std::vector<uint8_t> img(size_t(4 * rec), 0);
        size_t got = f.readSome(0, img.data(), img.size());
        if (got < img.size()) f.writeAt(int64_t(got), img.data() + got, img.size() - got);  // zeros
        for (int k = 0; k < 4; ++k) {
            S[size_t(k)] = PLAT::getS(img.data() + k * rec, ss);
            live[size_t(k)] = !S[size_t(k)].empty() && PLAT::rangeLockedElsewhere(f.handle(), k * rec, rec);
        }
    }
    ~SlotFile() { done(); }
    void done() {
        if (!f.isOpen()) return;
        if (guarded) PLAT::unlockRange(f.handle(), 4 * rec, 1);
        guarded = false;
        f.close();
    }
    void write(int k, const std::string& v) {
        std::vector<uint8_t> r(size_t(rec), 0);
        PLAT::putS(r.data(), ss, v);
        f.writeAt(k * rec, r.data(), r.size());
        S[size_t(k)] = v;
    }
};

// Slots 2, 3, 4, then 1: the order in which a slot is looked for.
constexpr int SLOT_ORDER[4] = {1, 2, 3, 0};

void releaseHolder(Claims& c, int k) {
    c.mine[size_t(k)] = false;
    if (c.holder && c.holder->isOpen()) PLAT::unlockRange(c.holder->handle(), k * int64_t(c.ss + 1), c.ss + 1);
}

// Frees every claim of this process in one file (written empty, locks released, holder closed).
// On the exit paths the guard is tried for a short while only: when it cannot be had, the claims
// are left to their locks, which go with the process, so they count as free all the same.
void freeClaims(Claims& c, int tries) {
    if (c.owner == PLAT::processId()) {
        SlotFile sf(c.dosFile, c.ss, tries);
        if (sf.guarded)
            for (int k = 0; k < 4; ++k)
                if (c.mine[size_t(k)]) sf.write(k, "");
        for (int k = 0; k < 4; ++k)
            if (c.mine[size_t(k)]) releaseHolder(c, k);
    }
    if (c.holder) c.holder->close();
}

// The busy screen: mask 86 until Esc, the cursor shown at column 48, row 13.
void busyScreen() {
    const int before = SCR::STACKPOINTER();
    SCR::CALLM(86, true);
    // Only a mask that was shown is removed again (a missing one must not pop another screen).
    const bool shown = SCR::STACKPOINTER() != before || (before == SCR::STACK_MAX && mask(86) != nullptr);
    PLAT::Console& c = PLAT::con();
    c.gotoXY(48, 13);
    SCR::CURSOR(true);
    while (c.readKey().ch != 27) continue;  // every other key is ignored
    SCR::CURSOR(false);
    if (shown) SCR::RECALL();
}

// One claim or release in a slot file, under the guard.
struct SlotClaim {
    std::string dosFile, key;
    SlotFile sf;
    Claims* own;

    SlotClaim(const std::string& FN, int SS)
        : dosFile(PATH + FN + ".DAT"), key(lockKey(dosFile)), sf(dosFile, SS), own(ownClaims(key)) {}

    bool mine(int k) const { return own && own->mine[size_t(k)]; }
    // This process's slot holding v (slots 2, 3, 4, then 1), or -1.
    int mineHolding(const std::string& v) const {
        for (int k : SLOT_ORDER)
            if (mine(k) && sf.S[size_t(k)] == v) return k;
        return -1;
    }
    bool heldElsewhere(const std::string& v) const {
        for (int k = 0; k < 4; ++k)
            if (sf.live[size_t(k)] && !mine(k) && sf.S[size_t(k)] == v) return true;
        return false;
    }
    // A slot holding v that no live claim holds (left by a workstation that stopped), or -1.
    int staleHolding(const std::string& v) const {
        for (int k : SLOT_ORDER)
            if (!sf.live[size_t(k)] && sf.S[size_t(k)] == v) return k;
        return -1;
    }
    int firstFree() const {
        for (int k : SLOT_ORDER)
            if (!sf.live[size_t(k)]) return k;
        return -1;
    }
    // Writes v into slot k and holds it. False (nothing written) when its lock cannot be had.
    bool take(int k, const std::string& v) {
        if (!own) {
            if (claimsHook == 0)
                claimsHook = PLAT::addCleanup([] {
                    claimsHook = 0;
                    releaseAllClaims();
                });
            Claims c;
            c.dosFile = dosFile;
            c.ss = sf.ss;
            c.owner = PLAT::processId();
            c.holder = std::make_unique<PLAT::File>(dosFile, PLAT::File::READWRITE);
            own = &heldClaims().emplace(key, std::move(c)).first->second;
        }
        if (!own->mine[size_t(k)]) {
            if (!PLAT::tryLockRange(own->holder->handle(), k * sf.rec, sf.rec)) {
                dropIfEmpty();
                return false;
            }
            own->mine[size_t(k)] = true;
        }
        sf.write(k, v);
        return true;
    }
    void free(int k) {
        sf.write(k, "");
        releaseHolder(*own, k);
        dropIfEmpty();
    }
    void dropIfEmpty() {
        for (bool m : own->mine)
            if (m) return;
        own->holder->close();
        heldClaims().erase(key);
        own = nullptr;
    }
};

}  // namespace

bool ELDI(const std::string& BTM, const std::string& TM, const std::string& FN, int SS) {
    SS = clampLen(SS);
    std::string tm = cut(TM, size_t(SS)), btm = cut(BTM, size_t(SS));
    SlotClaim c(FN, SS);

    const int ownSlot = btm.empty() ? -1 : c.mineHolding(btm);
    if (tm.empty()) {
        // Claiming no number frees this workstation's claim, and is never busy.
        if (ownSlot >= 0) c.free(ownSlot);
        return false;
    }
    if (c.heldElsewhere(tm)) {
        c.sf.done();
        busyScreen();
        return true;
    }
    // The number already held here stays where it is; else the workstation's own slot changes
    // number; else a claim of the number left by a stopped workstation is taken over; else the
    // first slot no live claim holds. With all four held by other workstations the claim is not
    // recorded (it never overwrites a live claim).
    int target = c.mineHolding(tm);
    if (target < 0) target = ownSlot;
    if (target < 0) target = c.staleHolding(tm);
    if (target < 0) target = c.firstFree();
    if (ownSlot >= 0 && ownSlot != target) c.free(ownSlot);
    if (target >= 0) c.take(target, tm);
    return false;
}

void MHNU(const std::string& TM, const std::string& FN, int SS) {
    SS = clampLen(SS);
    std::string tm = cut(TM, size_t(SS));
    if (tm.empty()) return;
    SlotClaim c(FN, SS);
    // Only this workstation's own claim is freed.
    const int k = c.mineHolding(tm);
    if (k >= 0) c.free(k);
}

void releaseAllClaims() {
    auto& held = heldClaims();
    while (!held.empty()) {
        Claims c = std::move(held.begin()->second);
        held.erase(held.begin());
        freeClaims(c, 10);
    }
}

void freeStaleClaims() {
    static const std::pair<const char*, int> files[] = {{"NUDI", 10}, {"NUTI", 6}, {"NUAP", 5}};
    for (const auto& [fn, ss] : files) {
        const std::string dosFile = PATH + fn + ".DAT";
        if (!PLAT::fileExists(dosFile)) continue;
        SlotFile sf(dosFile, ss);
        for (int k = 0; k < 4; ++k)
            if (!sf.S[size_t(k)].empty() && !sf.live[size_t(k)]) sf.write(k, "");
    }
}

}  // namespace UMAS

// The menu driver, the key legend, the attribute painter and the print-settings dialog.
namespace UMAS {

void ATR(int COLUMN, int LINE, int LEN, uint8_t AT) {
    if (LINE >= 1 && LINE <= PLAT::SCREEN_H) {
        for (int x = COLUMN; x < COLUMN + LEN && x <= PLAT::SCREEN_W; ++x)
            if (x >= 1) (*CRP)[LINE - 1][x - 1].at = AT;
    }
    SCR::CURSOR(false);
}

void FKEY(const std::vector<int>& SE, const FUN& P) {
    int J = 1;
    auto put = [&](uint8_t ch, uint8_t at) {
        if (J <= PLAT::SCREEN_W) (*CRP)[PLAT::SCREEN_H - 1][J - 1] = PLAT::Cell{ch, at};
        ++J;
    };
    for (int i = 1; i <= 10; ++i) {
        if (std::find(SE.begin(), SE.end(), i) == SE.end()) continue;
        const std::string& S = P[i];
        size_t dot = S.find('.');
        size_t keyEnd = dot == std::string::npos ? S.size() : dot;
        for (size_t k = 0; k < keyEnd; ++k) put(uint8_t(S[k]), 11);
        if (dot != std::string::npos) {
            put(26, 3);
            for (size_t k = dot + 1; k < S.size(); ++k) put(uint8_t(S[k]), 3);
        }
        put(' ', 3);
    }
}

namespace {

// One call of the menu driver: the grid and the current item.
struct Menu {
    uint8_t normal;
    int XA, XO, YA, YO, LE, ML, MC, MS;
    int &LI, &CO, &SE;

    int barX() const { return XA + CO * XO; }
    int barY() const { return YA + LI * YO; }
    void paint(uint8_t at) const { ATR(barX(), barY(), LE, at); }
    void off() const { paint(normal); }
    void on() const { paint(0x70); }
    void moveTo(int li, int co) {
        off();
        LI = li;
        CO = co;
        on();
    }
    // The item under a 1-based screen position, when it lies inside the grid.
    bool itemAt(int x, int y, int& li, int& co) const {
        int x2 = XA + MC * XO + LE - 1, y2 = YA + ML * YO;
        if (x < XA || x > x2 || y < YA || y > y2) return false;
        li = YO == 0 ? LI : (y - YA) / YO;
        co = XO == 0 ? CO : (x - XA) / XO;
        li = std::clamp(li, 0, ML);
        co = std::clamp(co, 0, MC);
        return true;
    }
};

}  // namespace

void EPIL(uint8_t BG, uint8_t FG, int XA, int XO, int YA, int YO, int LE, int ML, int MC, int MS, int& LI,
          int& CO, int& SE, int& KK, int PAR_EKT_ENTYPOY) {
    Menu m{uint8_t(BG * 16 + FG), XA, XO, YA, YO, LE, ML, MC, MS, LI, CO, SE};
    SCR::CURSOR(false);
    m.off();
    if (KK == 32) return;
    m.on();

    int firstDigit = -1;
    bool pressedOnCurrent = false;
    PLAT::Console& c = PLAT::con();
    for (;;) {
        PLAT::Event ev;
        if (!c.poll(ev)) {
            c.idle(20);
            continue;
        }
        if (ev.type == PLAT::Event::MOUSE) {
            const PLAT::MouseEvent& me = ev.mouse;
            bool press = me.action == PLAT::MouseEvent::PRESS;
            bool drag = me.action == PLAT::MouseEvent::DRAG;
            if (me.button != PLAT::MouseEvent::LEFT || !(press || drag)) continue;
            int li, co;
            if (!m.itemAt(me.x + 1, me.y + 1, li, co)) continue;
            if (li != LI || co != CO) {
                m.moveTo(li, co);
                pressedOnCurrent = false;
            }
            if (pressedOnCurrent && press) {
                KK = 0;
                return;
            }
            pressedOnCurrent = true;
            continue;
        }
        if (ev.type != PLAT::Event::KEY) continue;
        const PLAT::KeyEvent& k = ev.key;
        if (!k.extended()) {
            uint8_t ch = k.ch;
            if (ch >= '0' && ch <= '9') {
                int d = ch - '0';
                if (ML <= 8) {
                    if (d >= 1 && d <= ML + 1) {
                        m.moveTo(d - 1, CO);
                        KK = 0;
                        return;
                    }
                } else if (firstDigit < 0) {
                    firstDigit = d;
                } else {
                    int n = firstDigit * 10 + d;
                    firstDigit = -1;
                    if (n >= 1 && n <= ML + 1) {
                        m.moveTo(n - 1, CO);
                        KK = 0;
                        return;
                    }
                }
                continue;
            }
            switch (ch) {
            case 9: KK = 30; return;
            case 13: KK = 0; return;
            case ' ': KK = 20; return;
            case 27: m.off(); KK = 3; return;
            default: continue;
            }
        }
        switch (k.scan) {
        case PLAT::SC::F1:
            if (k.mods & PLAT::MOD_SHIFT) { KK = 14; return; }
            if (k.mods) continue;
            if (PAR_EKT_ENTYPOY != 0) EPIL_GETPARAMS(PAR_EKT_ENTYPOY);
            KK = 7;
            return;
        case PLAT::SC::SF1: KK = 14; return;
        case PLAT::SC::F2: case PLAT::SC::F3: case PLAT::SC::F4: case PLAT::SC::F5: case PLAT::SC::F6:
        case PLAT::SC::F7:
            if (k.mods) continue;
            KK = 8 + (k.scan - PLAT::SC::F2);
            return;
        case PLAT::SC::END: KK = 6; return;
        case PLAT::SC::F10:
            if (k.mods) continue;
            m.off();
            KK = 16;
            return;
        case PLAT::SC::UP:
            m.off();
            ARDEX = false;
            if (LI > 0) LI--;
            else if (CO > 0) { CO--; LI = ML; }
            else if (SE > 0) { SE--; LI = ML; CO = MC; KK = 4; return; }
            m.on();
            KK = 1;
            return;
        case PLAT::SC::DOWN:
            m.off();
            ARDEX = false;
            if (LI < ML) LI++;
            else if (CO < MC) { CO++; LI = 0; }
            else if (SE < MS) { SE++; LI = 0; CO = 0; KK = 5; return; }
            m.on();
            KK = 2;
            return;
        case PLAT::SC::LEFT:
            m.off();
            CO = CO == 0 ? MC : CO - 1;
            m.on();
            ARDEX = true;
            KK = 1;
            return;
        case PLAT::SC::RIGHT:
            m.off();
            CO = CO == MC ? 0 : CO + 1;
            m.on();
            ARDEX = true;
            KK = 2;
            return;
        case PLAT::SC::PGUP:
            if (SE > 0) SE--;
            KK = 4;
            return;
        case PLAT::SC::PGDN:
            if (SE < MS) SE++;
            KK = 5;
            return;
        default: continue;
        }
    }
}

void EPIL_GETPARAMS(int formId) {
    PRNS::PAR_EKT p = PRNS::readParEkt(formId);  // created with the defaults when missing
    uint8_t* pe[5] = {&p.PGLE, &p.HTAB, &p.VTAB, &p.PORT, &p.EMUL};
    struct Field { int x, y, w; };
    const Field f[5] = {{56, 7, 2}, {56, 9, 2}, {56, 11, 2}, {56, 15, 1}, {56, 19, 1}};
    auto show = [&](int i) { SCR::PRINT(f[i].x, f[i].y, LEJU(std::to_string(*pe[i]), f[i].w)); };
    SCR::CALLM(90, true);
    for (int i = 0; i < 5; ++i) show(i);
    int i = 0;
    for (;;) {
        int K = 0;
        std::string s = SCR::GINPUT(f[i].x, f[i].y, f[i].w, std::to_string(*pe[i]), "", SCR::socDigits(), false, true, K);
        *pe[i] = uint8_t(std::clamp(std::lround(EVAL(s)), 0L, 255L));
        show(i);
        if (K == 3) break;
        if (K == 0) {
            i = (i + 1) % 5;
        } else if (K == 7) {
            PRNS::writeParEkt(formId, p);
            PLAT::con().bell();
        }
    }
    SCR::RECALL();
}

}  // namespace UMAS

// The print hand-off of spool files to the installation's scripts, and the viewer copy.
namespace UMAS {

namespace {

// Hands spool to script under the spool lock; the spool file goes only when the script succeeded.
void handOff(const std::string& spool, const std::string& script) {
    PRNS::spoolAcquire();
    bool have = PLAT::fileExists(spool);
    PLAT::RunResult r;
    if (have) {
        r = PLAT::runScript(script, PLAT::PRINT_LOG);
        if (r.ok()) PLAT::removeFile(spool);
    }
    PRNS::spoolHandedOff(spool);
    if (!have || r.ok()) return;
    if (!r.started)
        // "<script> not found: <spool> kept. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Δεν βρέθηκε το " + script + ": το " + spool +
                                       " κρατήθηκε. Πατήστε ένα πλήκτρο"));
    else
        // "<script> failed (exit n): <spool> kept. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Αποτυχία " + script + " (" + std::to_string(r.status) + "): το " + spool +
                                       " κρατήθηκε. Πατήστε ένα πλήκτρο"));
}

}  // namespace

void PRINTUSB() { handOff("kvx.txt", "prntxt.sh"); }

void PRINTUSB_TIM() { handOff("tim.txt", "prn_tim.sh"); }

std::string PRINT_NOTEPAD_ISO8859(const std::string& S) { return PLAT::cp737ToIso88597(S); }

void PRINT_NOTEPAD() {
    PRNS::spoolAcquire();
    auto lines = PLAT::readLines("kvx.txt");
    if (!lines) {
        PRNS::spoolHandedOff("kvx.txt");
        return;
    }
    std::string out;
    for (const auto& l : *lines) out += PRINT_NOTEPAD_ISO8859(l.substr(0, 255)) + "\r\n";
    PLAT::writeWholeAtomic("Output.txt", out);
    PLAT::removeFile("kvx.txt");
    PRNS::spoolHandedOff("kvx.txt");

    // The viewer runs in the terminal: leave the screen and take it back afterwards.
    bool con = PLAT::haveConsole();
    if (con) PLAT::con().suspend();
    PLAT::RunResult r = PLAT::runViewer("Output.txt");
    if (con) PLAT::con().resume();
    if (!r.started)
        // "The viewer did not start: see Output.txt. Press a key"
        PRNS::REPORT(PLAT::utf8ToCp737("Δεν ξεκίνησε η προβολή: δείτε το Output.txt. Πατήστε ένα πλήκτρο"));
}

}  // namespace UMAS
