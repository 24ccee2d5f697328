// PRNS: print set-up, printer selection, emulation drivers, tab procedures and the print companions.
#include "print/prns.h"

#include <cerrno>
#include <cctype>

#include "common/umas.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/oslock.h"
#include "platform/process.h"
#include "screen/scr.h"

namespace PRNS {

int16_t HTAB_OFSET = 0;

// ---- PAR_EKT --------------------------------------------------------------------------------------

std::string PAR_EKT::encode() const {
    std::string b(SIZE, '\0');
    b[0] = char(PGLE);
    b[1] = char(HTAB);
    b[2] = char(VTAB);
    b[3] = char(PORT);
    b[4] = char(EMUL);
    return b;
}

PAR_EKT PAR_EKT::decode(const std::string& bytes) {
    PAR_EKT p;
    if (bytes.size() < SIZE) return p;
    p.PGLE = uint8_t(bytes[0]);
    p.HTAB = uint8_t(bytes[1]);
    p.VTAB = uint8_t(bytes[2]);
    p.PORT = uint8_t(bytes[3]);
    p.EMUL = uint8_t(bytes[4]);
    return p;
}

std::string parEktName(int formId) { return "ETC\\pare" + UMAS::USER_ID + "." + std::to_string(formId); }

PAR_EKT readParEktFile(const std::string& dosName, const PAR_EKT& whenMissing) {
    auto d = PLAT::readWhole(dosName);
    if (!d) {
        PLAT::writeWholeAtomic(dosName, whenMissing.encode());
        return whenMissing;
    }
    if (d->size() < PAR_EKT::SIZE) {
        errno = EIO;
        PLAT::fatal("read", PLAT::resolve(dosName));
    }
    return PAR_EKT::decode(*d);
}

PAR_EKT readParEkt(int formId, const PAR_EKT& whenMissing) { return readParEktFile(parEktName(formId), whenMissing); }

void writeParEkt(int formId, const PAR_EKT& p) { PLAT::writeWholeAtomic(parEktName(formId), p.encode()); }

// ---- The spool lock -------------------------------------------------------------------------------

namespace {

std::unique_ptr<PLAT::File> spoolLock;  // open and OS-locked while this workstation holds the lock
int openSpools = 0;                     // spool files open now
bool pendingKvx = false;                // "KVX.TXT" written, hand-off still to come
bool pendingTim = false;                // "tim.txt" likewise

std::string upperName(const std::string& s) {
    std::string u;
    for (char c : s) u += c == '/' ? '\\' : char(std::toupper(static_cast<unsigned char>(c)));
    if (u.rfind(".\\", 0) == 0) u.erase(0, 2);
    return u;
}

bool isSpool(const std::string& up) {
    return up == "KVX.TXT" || up == "KART.TXT" || up == "TIM.TXT" || up == "C:\\KVXPOOL\\KVX.TXT";
}

void spoolRelease() {
    if (!spoolLock || openSpools > 0 || pendingKvx || pendingTim) return;
    PLAT::unlockFd(spoolLock->handle());
    spoolLock.reset();
}

}  // namespace

void spoolAcquire() {
    if (spoolLock) return;
    auto f = std::make_unique<PLAT::File>();
    if (!f->open(SPOOL_LOCK_FILE, PLAT::File::READWRITE, false)) f->open(SPOOL_LOCK_FILE, PLAT::File::CREATE);
    // Another workstation is writing or handing off a spool file: wait as for a named lock.
    while (!PLAT::tryLockFd(f->handle())) PLAT::sleepMs(100);
    spoolLock = std::move(f);
}

void spoolHandedOff(const std::string& name) {
    std::string up = upperName(name);
    if (up == "KVX.TXT") pendingKvx = false;
    if (up == "TIM.TXT") pendingTim = false;
    spoolRelease();
}

bool spoolHeld() { return spoolLock != nullptr; }

// ---- PFILE ----------------------------------------------------------------------------------------

PFILE::PFILE() = default;

PFILE::~PFILE() {
    if (!isOpen()) return;
    try {
        close();
    } catch (...) {
        // leaving on an error path: the error has been reported already
    }
}

void PFILE::assignPort(const std::string& port) {
    if (isOpen()) close();
    out = PLAT::PortOut::port(port);
    portName = port;
}

void PFILE::assignFile(const std::string& dosPath) {
    if (isOpen()) close();
    std::string up = upperName(dosPath);
    if (isSpool(up)) {
        spoolAcquire();
        ++openSpools;
        spoolName = up;
        if (up == "KVX.TXT") pendingKvx = true;
        if (up == "TIM.TXT") pendingTim = true;
    }
    out = PLAT::PortOut::file(dosPath);
}

void PFILE::flush() {
    if (!buf.empty() && out) out->write(buf.data(), buf.size());
    buf.clear();
}

void PFILE::write(const std::string& bytes) {
    if (!out) PLAT::fatal("write", "printer output not open");
    buf += bytes;
    if (buf.size() >= 4096) flush();
}

void PFILE::write(std::initializer_list<uint8_t> bytes) {
    std::string s;
    for (uint8_t b : bytes) s += char(b);
    write(s);
}

void PFILE::put(uint8_t b) { write(std::string(1, char(b))); }

void PFILE::writeln(const std::string& s) { write(s + "\r\n"); }

bool PFILE::close() {
    if (!out) return true;
    bool ok = true;
    std::string why;
    std::string port = portName;
    try {
        flush();
        ok = out->close(why);
    } catch (...) {
        out.reset();
        portName.clear();
        if (!spoolName.empty()) {
            --openSpools;
            spoolName.clear();
        }
        throw;
    }
    out.reset();
    portName.clear();
    if (!spoolName.empty()) {
        --openSpools;
        spoolName.clear();
        spoolRelease();
    }
    if (!ok) {
        // "Printing to <port> failed (<why>): kept in drives/ports/<port>"
        REPORT(PLAT::utf8ToCp737("Αποτυχία εκτύπωσης " + port + " (" + why + "): φυλάχτηκε στο drives/ports/" +
                                 port));
    }
    return ok;
}

bool PFILE::isOpen() const { return out != nullptr; }

bool PFILE::onPort(const std::string& port) const {
    return out && !portName.empty() && upperName(portName) == upperName(port);
}

std::string PFILE::target() const { return out ? out->target() : std::string(); }

// ---- Drivers --------------------------------------------------------------------------------------

namespace {

void B(PFILE& F, std::initializer_list<uint8_t> b) { F.write(b); }
// ESC followed by the characters of s.
void ESC(PFILE& F, const char* s) {
    F.put(0x1B);
    F.write(std::string(s));
}

// Line spacing 21..30 (1/3, 1/12, 1/4, 5/24, 1/24, 1/6, 7/36, 1/8, 1/9, 5/36 inch) as n/72 (ESC "A" n)
// and as n/360 (ESC "+" n).
constexpr uint8_t SP72[10] = {0x18, 0x06, 0x12, 0x0F, 0x03, 0x0C, 0x0E, 0x09, 0x08, 0x0A};
constexpr uint8_t SP360[10] = {0x78, 0x1E, 0x5A, 0x4B, 0x0F, 0x3C, 0x46, 0x2D, 0x28, 0x32};
// PRNPS1150's line spacing 21..29 as n/216 (ESC "3" n).
constexpr uint8_t SP216[9] = {0x48, 0x12, 0x36, 0x2D, 0x09, 0x24, 0x2A, 0x1B, 0x18};

void waitReady(PFILE& F) {
    while (PRINTEROK(F) != 0) {
    }
}

// Mode 200 of the drivers that move the rest of the printout elsewhere. A printout that already
// goes to that port stays on it: reopening would hand a command port its printout in two parts.
void reopenPort(PFILE& F, const char* port) {
    if (F.onPort(port)) return;
    F.close();
    F.assignPort(port);
}
void reopenFile(PFILE& F, const char* name) {
    F.close();
    F.assignFile(name);
}

// The modes the ESC/P drivers share: 6, 7, 8, 9, 11, 12, 13 with "1"/"0" parameters, ribbon colour.
bool escpCommon(PFILE& F, uint8_t M) {
    switch (M) {
    case 6: B(F, {0x1B, 0x57, 0x31}); return true;
    case 7: B(F, {0x1B, 0x57, 0x30}); return true;
    case 8: B(F, {0x1B, 0x47}); return true;
    case 9: B(F, {0x1B, 0x48}); return true;
    case 11: B(F, {0x0C}); return true;
    case 12: B(F, {0x1B, 0x2D, 0x31}); return true;
    case 13: B(F, {0x1B, 0x2D, 0x30}); return true;
    default: break;
    }
    if (M >= 100 && M <= 106) {
        B(F, {0x1B, 0x72, uint8_t(M - 100)});
        return true;
    }
    return false;
}

// The modes the Proprinter drivers share: 6, 7, 11, 12, 13, line spacing 21..29 (ESC "A" n ESC "2").
bool proCommon(PFILE& F, uint8_t M) {
    switch (M) {
    case 6: B(F, {0x1B, 0x57, 0x31}); return true;
    case 7: B(F, {0x1B, 0x57, 0x30}); return true;
    case 11: B(F, {0x0C}); return true;
    case 12: B(F, {0x1B, 0x2D, 0x31}); return true;
    case 13: B(F, {0x1B, 0x2D, 0x30}); return true;
    default: break;
    }
    if (M >= 21 && M <= 29) {
        B(F, {0x1B, 0x41, SP72[M - 21], 0x1B, 0x32});
        return true;
    }
    return false;
}

}  // namespace

void PRNEPS(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12, 0x1B, 0x50}); return;
    case 2: B(F, {0x12, 0x1B, 0x4D}); return;
    case 3: B(F, {0x1B, 0x50, 0x0F}); return;
    case 4: B(F, {0x1B, 0x78, 0x31}); return;
    case 5: B(F, {0x1B, 0x78, 0x30}); return;
    case 99: waitReady(F); B(F, {0x1B, 0x40}); return;
    case 200: reopenPort(F, "LPT1"); return;
    default: break;
    }
    if (escpCommon(F, M)) return;
    if (M >= 21 && M <= 30) B(F, {0x1B, 0x41, SP72[M - 21]});
    else if (M >= 31 && M <= 98) B(F, {0x1B, 0x43, M});
}

void PRNPS1150(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12, 0x1B, 0x50}); return;
    case 2: B(F, {0x1B, 0x4D}); return;
    case 3: B(F, {0x1B, 0x0F}); return;
    case 4: B(F, {0x1B, 0x78, 0x01}); return;
    case 5: B(F, {0x1B, 0x78, 0x00}); return;
    case 6: B(F, {0x1B, 0x57, 0x01}); return;
    case 7: B(F, {0x1B, 0x57, 0x00}); return;
    case 12: B(F, {0x1B, 0x2D, 0x01}); return;
    case 13: B(F, {0x1B, 0x2D, 0x00}); return;
    case 30: B(F, {0x1B, 0x41, 0x0A}); return;
    case 99: waitReady(F); B(F, {0x1B, 0x40}); return;
    case 200: reopenPort(F, "LPT1"); return;
    default: break;
    }
    if (escpCommon(F, M)) return;
    if (M >= 21 && M <= 29) B(F, {0x1B, 0x33, SP216[M - 21]});
    else if (M >= 31 && M <= 98) B(F, {0x1B, 0x43, M});
}

void PRN24PIN(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12, 0x1B, 0x50}); return;
    case 2: B(F, {0x12, 0x1B, 0x4D}); return;
    case 3: B(F, {0x1B, 0x50, 0x0F}); return;
    case 4: B(F, {0x1B, 0x78, 0x31}); return;
    case 5: B(F, {0x1B, 0x78, 0x30}); return;
    case 99: waitReady(F); B(F, {0x1B, 0x40}); return;
    case 200: reopenFile(F, "test"); return;
    default: break;
    }
    if (escpCommon(F, M)) return;
    if (M >= 21 && M <= 30) B(F, {0x1B, 0x2B, SP360[M - 21]});
    else if (M >= 50 && M <= 80) B(F, {0x1B, 0x43, M});
}

void PRNOKI393(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12, 0x1B, 0x50}); return;
    case 2: B(F, {0x12, 0x1B, 0x4D}); return;
    case 3: B(F, {0x0F, 0x1B, 0x0F}); return;
    case 4: B(F, {0x1B, 0x45}); return;
    case 5: B(F, {0x1B, 0x46}); return;
    case 99: waitReady(F); return;  // waits for the printer, then sends nothing
    case 200: reopenFile(F, "test"); return;
    default: break;
    }
    if (escpCommon(F, M)) return;
    if (M >= 21 && M <= 30) B(F, {0x1B, 0x2B, SP360[M - 21]});
    else if (M >= 50 && M <= 80) B(F, {0x1B, 0x43, M});
}

void PRNESCP2(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12, 0x1B, 0x50}); return;
    case 2: B(F, {0x12, 0x1B, 0x4D}); return;
    case 3: B(F, {0x1B, 0x50, 0x0F}); return;
    case 4: B(F, {0x1B, 0x47}); return;
    case 5: B(F, {0x1B, 0x48}); return;
    case 6: B(F, {0x1B, 0x57, 0x31}); return;
    case 7: B(F, {0x1B, 0x57, 0x30}); return;
    case 10: B(F, {0x1B, 0x19, 0x31}); return;
    case 11: B(F, {0x1B, 0x19, 0x52}); return;
    case 12: B(F, {0x1B, 0x2D, 0x31}); return;
    case 13: B(F, {0x1B, 0x2D, 0x30}); return;
    case 14: B(F, {0x1B, 0x4D, 0x0F}); return;
    case 15: B(F, {0x1B, 0x2D, 0x30}); return;
    case 21: B(F, {0x1B, 0x33, 0x3C}); return;
    case 22: B(F, {0x1B, 0x33, 0x0F}); return;
    case 23: B(F, {0x1B, 0x33, 0x2D}); return;
    // 5/24 and 1/24 inch are 75/360 and 15/360 inch: ESC "+" n
    case 24: B(F, {0x1B, 0x2B, 0x4B}); return;
    case 25: B(F, {0x1B, 0x2B, 0x0F}); return;
    case 26: B(F, {0x1B, 0x32}); return;
    case 27: B(F, {0x1B, 0x33, 0x24}); return;
    case 29: B(F, {0x1B, 0x33, 0x14}); return;
    case 33: case 48: case 66: case 68: case 74: B(F, {0x1B, 0x43, M}); return;
    case 99: waitReady(F); B(F, {0x1B, 0x40}); return;
    case 100: B(F, {0x0C}); return;
    case 200: B(F, {0x1B, 0x40, 0x1B, 0x70, 0x30, 0x1B, 0x32}); return;
    default: return;
    }
}

void PRNGRA(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12}); return;
    case 2: B(F, {0x1B, 0x3A}); return;
    case 3: B(F, {0x0F}); return;
    case 4: B(F, {0x1B, 0x49, 0x33}); return;
    case 5: B(F, {0x1B, 0x49, 0x31}); return;
    case 30: B(F, {0x1B, 0x41, 0x0A, 0x1B, 0x32}); return;
    case 66: case 68: case 74: B(F, {0x1B, 0x43, M}); return;
    case 99: waitReady(F); B(F, {0x18}); return;
    default: break;
    }
    proCommon(F, M);
}

void PRNPRO(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12}); return;
    case 2: B(F, {0x12, 0x1B, 0x3A}); return;
    case 3: B(F, {0x12, 0x1B, 0x0F}); return;
    case 4: B(F, {0x1B, 0x49, 0x32}); return;
    case 5: B(F, {0x1B, 0x49, 0x30}); return;
    case 14: B(F, {0x12, 0x1B, 0x0F}); return;
    case 30: B(F, {0x1B, 0x41, 0x0A, 0x1B, 0x32}); return;
    case 33: case 36: case 48: case 51: case 66: case 68: case 74: B(F, {0x1B, 0x43, M}); return;
    case 99: waitReady(F); B(F, {0x18}); return;
    case 100: B(F, {0x0C}); return;
    case 200: B(F, {0x18}); return;
    case 224: B(F, {0x1B, 0x43, 0x18}); return;
    default: break;
    }
    proCommon(F, M);
}

void PRNSTAR(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: B(F, {0x12}); return;
    case 2: B(F, {0x1B, 0x49, 0x01}); return;
    case 3: B(F, {0x0F}); return;
    case 4: B(F, {0x1B, 0x78, 0x01}); return;
    case 5: B(F, {0x1B, 0x78, 0x00}); return;
    case 66: case 68: case 74: B(F, {0x1B, 0x43, M}); return;
    case 99: waitReady(F); B(F, {0x18}); return;
    default: break;
    }
    proCommon(F, M);
}

void PRNHPPCL(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: ESC(F, "(s10h12v1Q"); return;
    case 2: ESC(F, "(s12h12v1Q"); return;
    case 3: ESC(F, "(s17h12v1Q"); ESC(F, "(s12V"); return;
    case 4: ESC(F, "(s2Q"); return;
    case 5: ESC(F, "(s1Q"); return;
    case 6: ESC(F, "(s5h12v1Q"); return;
    case 7: ESC(F, "(s10h12v1Q"); return;
    case 10: ESC(F, "&l1H"); return;
    case 11: ESC(F, "&l0H"); return;
    case 12: ESC(F, "&d1D"); return;
    case 13: case 15: ESC(F, "&d@"); return;
    case 14: ESC(F, "(s20h12v1Q"); return;
    case 21: ESC(F, "&l3D"); return;
    case 22: ESC(F, "&l12D"); return;
    case 23: ESC(F, "&l4D"); return;
    case 24: ESC(F, "&l5D"); return;
    case 25: ESC(F, "&l24D"); return;
    case 26: ESC(F, "&l6D"); return;
    case 27: ESC(F, "&l5D"); return;
    case 29: ESC(F, "&l9D"); return;
    case 30: ESC(F, "&l7D"); return;
    case 66: ESC(F, "&l66P"); return;
    case 68: ESC(F, "&l68P"); return;
    case 74: ESC(F, "&l74P"); return;
    case 100: ESC(F, "&l0H"); return;
    // reset, portrait orientation, default font
    case 200: ESC(F, "E"); ESC(F, "&l0O"); ESC(F, "(s0p10h12v0s0B"); return;
    default: return;
    }
}

void PRNHPPCL_6(PFILE& F, uint8_t M) {
    switch (M) {
    case 1: ESC(F, "(s10H"); return;
    case 2: ESC(F, "(s12H"); return;
    case 3: ESC(F, "(s17H"); return;
    case 4: ESC(F, "(s3B"); return;
    case 5: ESC(F, "(s0B"); return;
    case 6: ESC(F, "(s5H"); return;
    case 7: ESC(F, "(s10H"); return;
    case 10: ESC(F, "&l1H"); return;
    case 11: ESC(F, "&l0H"); return;
    case 12: ESC(F, "&d0D"); return;
    case 13: case 15: ESC(F, "&d@"); return;
    case 14: ESC(F, "(s20H"); return;
    case 21: ESC(F, "&l3D"); return;
    case 22: ESC(F, "&l12D"); return;
    case 23: ESC(F, "&l4D"); return;
    case 25: ESC(F, "&l24D"); return;
    case 26: ESC(F, "&l6D"); return;
    case 28: ESC(F, "&l8D"); return;
    case 66: ESC(F, "&l26A"); return;  // A4 paper
    case 99: ESC(F, "E"); ESC(F, "(s0P"); ESC(F, "(s12V"); ESC(F, "(s0S"); return;
    case 100: ESC(F, "&l0H"); return;
    default: return;
    }
}

void PRNNONE(PFILE&, uint8_t) {}

// ---- Tab procedures -------------------------------------------------------------------------------

namespace {
int offsetColumn(uint8_t X) {
    int c = int(X) + HTAB_OFSET;
    return c < 0 ? 0 : c > 255 ? 255 : c;  // a one-byte column
}
}  // namespace

void TABEPS(PFILE& F, uint8_t X) {
    B(F, {0x1B, 0x44, 0x00, 0x1B, 0x44, uint8_t(offsetColumn(X)), 0x00, 0x09});
}

void TABHPPCL(PFILE& F, uint8_t X) {
    F.put(0x1B);
    F.write("&a" + std::to_string(offsetColumn(X)) + "C");
}

void TABNONE(PFILE& F, uint8_t X) {
    if (X == 0) return;
    std::string n = std::to_string(X);
    F.write("<<(" + std::string(3 - n.size(), ' ') + n);
}

void TAB_NONE(PFILE&, uint8_t) {}

// ---- Set-up ---------------------------------------------------------------------------------------

void SELECTPRI(PFILE& FT, uint8_t MN) {
    switch (MN) {
    case 0: case 1: FT.assignPort("LPT1"); return;
    case 2: FT.assignPort("LPT2"); return;
    case 3: FT.assignPort("LPT3"); return;
    case 4: FT.assignPort("com1"); return;
    case 5: FT.assignPort("com2"); return;
    case 6: FT.assignFile("C:\\KVXPOOL\\KVX.TXT"); return;
    case 7: FT.assignFile("KVX.TXT"); return;
    case 8: FT.assignFile("KART.TXT"); return;
    default: FT.assignPort("PRN"); return;
    }
}

void SET_PE(int PE_ID, PRNM& P, TABM& T, PFILE& FT) {
    // a form printed for the first time here: five zero bytes (page length 66 all the same)
    PAR_EKT pe = readParEkt(PE_ID, PAR_EKT::decode(std::string(PAR_EKT::SIZE, '\0')));
    SELECTPRI(FT, pe.PORT);
    if (pe.PORT == 8) {
        P = PRNNONE;
        T = TAB_NONE;
    } else {
        T = TABEPS;
        switch (pe.EMUL) {
        case 2: P = PRNGRA; break;
        case 3: P = PRNPRO; break;
        case 4: P = PRNHPPCL; T = TABHPPCL; break;
        case 5: P = PRN24PIN; break;
        case 6: P = PRNSTAR; break;
        case 7: P = PRNPS1150; break;
        case 8: P = PRNOKI393; break;
        case 9: P = PRNESCP2; break;
        default: P = PRNEPS; break;
        }
    }
    P(FT, 99);
    HTAB_OFSET = pe.HTAB;
    P(FT, pe.PGLE >= 30 && pe.PGLE <= 99 ? pe.PGLE : 66);
    P(FT, 25);
    LFE(FT, pe.VTAB);
    P(FT, 26);
}

void SET_PETIMOL(uint8_t EMUL, PRNM& P, TABM& T) {
    T = TABEPS;
    switch (EMUL) {
    case 2: P = PRNGRA; break;
    case 3: P = PRNPRO; break;
    case 4: P = PRNHPPCL; T = TABHPPCL; break;
    case 5: P = PRN24PIN; break;
    case 6: P = PRNOKI393; break;
    case 7: P = PRNESCP2; break;
    case 8: P = PRNHPPCL_6; T = TABHPPCL; break;
    default: P = PRNEPS; break;
    }
}

// ---- Companions -----------------------------------------------------------------------------------

uint8_t COP() {
    SCR::CALLM(80, true);
    std::string S = "1";
    int K = 0;
    do {
        S = SCR::GINPUT(32, 23, 3, S, "", SCR::socDigits(), false, true, K);
    } while (K != 0 && K != 2 && K != 3);
    SCR::RECALL();
    PLAT::con().refresh();
    int n = 0;
    for (char c : S) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
    }
    return uint8_t(n > 255 ? 255 : n);  // a copies count is one byte
}

bool YES(int X, int Y) {
    PLAT::Console& c = PLAT::con();
    c.gotoXY(X, Y);
    c.showCursor(true);
    bool r;
    for (;;) {
        PLAT::KeyEvent k = PLAT::con().readKey();
        if (k.extended()) continue;
        if (k.ch == 'N' || k.ch == 'n' || k.ch == 140 || k.ch == 164) {
            r = true;
            break;
        }
        if (k.ch == 'O' || k.ch == 'o' || k.ch == 142 || k.ch == 166) {
            r = false;
            break;
        }
    }
    c.showCursor(false);
    c.refresh();
    return r;
}

bool ASKPRINT(const std::string& WORDS) {
    SCR::CALLM(58, true);
    SCR::PRINT(28 - int(WORDS.size()), 23, WORDS);
    SCR::PRINT(28, 23, PLAT::gr("(Ν/Ο) ?"));
    if (YES(36, 23)) return true;
    SCR::RECALL();
    return false;
}

void LOGO(PFILE& FT) {
    for (int i = 1; i <= 5; ++i) FT.writeln(UMAS::LOGOTYPO[size_t(i)]);
}

void LFE(PFILE& FT, int X) {
    for (int i = 0; i < X; ++i) FT.writeln();
}

int16_t PRINTEROK(PFILE&) { return 0; }

void REPORT(const std::string& cp737) {
    if (!PLAT::haveConsole()) return;
    bool haveMask = UMAS::mask(58) != nullptr;
    if (haveMask) SCR::CALLM(58, true);
    SCR::PRINT(7, 23, cp737.substr(0, 71));
    PLAT::con().bell();
    PLAT::con().readKey();
    if (haveMask) SCR::RECALL();
    PLAT::con().refresh();
}

}  // namespace PRNS
