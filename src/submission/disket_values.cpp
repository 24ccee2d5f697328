// The field-code value step of the row engine: the value of each code below 1000 and the checks
// that follow some values. Codes 1 to 289 not listed read the main page's box; codes 290 to 998 not
// listed are empty.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "common/umas.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "submission/diskvas.h"
#include "submission/disket_ops.h"

namespace DISKET {

using PLAT::gr;
using UMAS::trim;

// ---- Shared helpers ----------------------------------------------------------------------------

std::string copy(const std::string& s, size_t p, size_t n) { return p >= 1 && p - 1 < s.size() ? s.substr(p - 1, n) : ""; }
std::string date6(const std::string& s) { return "20" + copy(s, 5, 2) + copy(s, 3, 2) + copy(s, 1, 2); }
std::string date8(const std::string& s) { return "20" + copy(s, 7, 2) + copy(s, 4, 2) + copy(s, 1, 2); }

std::string FIXED(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char b[400];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

double ROUNDED(double v) {
    if (!std::isfinite(v)) return 0;
    return std::nearbyint(std::clamp(v, -1e15, 1e15));
}

bool INLIST(const std::string& code, int message) {
    return !code.empty() && DISKVAS::ERRMESS(message).find(code) != std::string::npos;
}

namespace {

bool mode48(const RUN& R) { return R.EDE == ED_TIRSEND || R.EDE == ED_TIR; }
bool mode05(const RUN& R) { return R.EDE == ED_FILE || R.EDE == ED_SEND; }
bool mode17(const RUN& R) { return R.EDE == ED_AUTO || R.EDE == ED_AUTOSEND; }
bool exp(const RUN& R) { return R.EXT == "EXP"; }
bool impOrMet(const RUN& R) { return R.EXT == "IMP" || R.EXT == "MET"; }
bool b5is(const RUN& R, const char* v) { return trim(R.box(5)) == v; }

// The sub-type letter: the first non-blank character after the first blank of box 2.
char subtype(const RUN& R) {
    const std::string b2 = R.box(2);
    const size_t blank = b2.find(' ');
    if (blank == std::string::npos) return 0;
    const size_t c = b2.find_first_not_of(' ', blank);
    return c == std::string::npos ? 0 : b2[c];
}

std::string D(const RUN& R, int n) { return R.BUF ? R.BUF->line(n) : std::string(); }

// Cell k of the current manifest line; empty before the first line row and beyond line 60.
std::string cell(const RUN& R, int k) {
    if (!R.BUF || R.AASTIX < 1 || R.AASTIX > MAXMANIFESTLINES) return "";
    return R.BUF->cell((R.AASTIX - 1) * 12 + k);
}

std::string firstWord(const std::string& s) {
    const size_t b = s.find(' ');
    return b == std::string::npos ? std::string() : s.substr(0, b);
}
std::string afterFirstWord(const std::string& s) {
    const size_t b = s.find(' ');
    return b == std::string::npos ? s : s.substr(b + 1);
}

// Codes that read the DAO or manifest buffer: empty in a run without one.
bool bufferCode(uint16_t KV) {
    return (KV >= 301 && KV <= 341) || KV == 360 || KV == 395 || KV == 401 || (KV >= 404 && KV <= 407) ||
           KV == 466 || KV == 468 || KV == 475 || KV == 482 || (KV >= 486 && KV <= 499 && KV != 495) || KV == 442 || KV == 402 ||
           KV == 403 || KV == 599 || KV == 467 || (KV >= 344 && KV <= 353) || KV == 355 || KV == 356 ||
           KV == 358 || KV == 359 || KV == 342;
}

// The attached documents of item 1: boxes 93, 94, 95 as code, colon, number.
void attached(RUN& R, int box, bool number, const char* ordinal) {
    R.BS.clear();
    if (R.AREIDOS > 1) return;
    const std::string s = R.box(box);
    const size_t colon = s.size() > 1 ? s.find(':', 1) : std::string::npos;
    if (colon == std::string::npos) return;
    if (!number) {
        R.BS = UMAS::REMLCH(trim(s.substr(0, colon)), '0');
        return;
    }
    R.BS = trim(s.substr(colon + 1, UMAS::HLEK4 ? 20 : 10));
    if (R.BS.empty())
        R.errorRow(gr(" Λάθος στην ") + gr(ordinal) + gr(" γραμμή επισυναπτόμενα (44). Δώσε αριθμό"));
}

// The DAO capacity character set by code 332 (0 when none was seen).
bool cap12(const RUN& R) { return R.CAPACITY == '1' || R.CAPACITY == '2'; }
bool cap36(const RUN& R) { return R.CAPACITY >= '3' && R.CAPACITY <= '6'; }
bool noDeclarantTaxNumber(const RUN& R) { return cap36(R) && trim(D(R, 6)).empty(); }

}  // namespace

void VALUE(RUN& R) {
    const uint16_t KV = R.KV();
    std::string& BS = R.BS;
    BS.clear();
    if (!R.BUF && bufferCode(KV)) return;
    const bool mtf = R.EXT == "MTF";
    switch (KV) {
    case 0: return;
    case 999: BS = R.row().TIMES; return;
    // ---- Dates, time, company ----
    case 8:
    case 998: BS = date6(R.box(8)); return;
    case 996: BS = "20" + copy(R.box(8), 5, 2); return;
    case 997: {
        const PLAT::DateTime t = PLAT::now();
        char b[8];
        std::snprintf(b, sizeof b, "%02d%02d", t.hour % 100, t.minute % 100);
        BS = b;
        return;
    }
    case 709: BS = exp(R) && !b5is(R, "12") ? date6(R.box(9)) : ""; return;
    case 995: BS = UMAS::LOGOTYPO[9]; return;
    // ---- Header ----
    case 15:
    case 25: BS = "-"; return;
    case 18: {
        std::string s = UMAS::REMLCH(R.box(18), '0');
        BS = s;
        const double v = ROUNDED(UMAS::EVAL(s));
        R.SYNEIDH = v > 0 ? int(std::min(v, double(MAXITEMS + 1))) : 0;
        if (R.SYNEIDH > MAXITEMS) {
            // A declaration holds at most 99 items (the sheet key has two places for the item).
            R.SYNEIDH = MAXITEMS;
            R.errorRow(gr(": τα είδη είναι περισσότερα από 99."));
        }
        return;
    }
    case 59:
    case 60: BS = mode48(R) ? "30" : R.box(KV); return;
    case 64:
    case 205:
        WRITETELONIOEX(R);
        if (KV == 64 && exp(R) && BS.empty())
            R.error(gr("Στις εξαγωγές πρέπει να συμπληρωθεί το τελωνείο εξόδου (Θέση 29)"));
        return;
    case 46:
    case 52:
        if (mode05(R) && !mtf) {
            BS = trim(R.box(KV));
            if (subtype(R) == 'X' && !exp(R)) BS.clear();
            if (R.EDE == ED_SEND && BS.size() > 27)
                R.error(gr("Το μήκος του μέσου μεταφοράς μειώθηκε σε 27 γράμματα"));
        } else {
            BS = R.box(KV);
        }
        return;
    case 946:
    case 952: {
        const char st = subtype(R);
        BS = !trim(R.box(KV == 946 ? 46 : 52)).empty() && !((st == 'B' || st == 'X') && !exp(R)) ? "EL" : "";
        return;
    }
    case 204: BS = mode48(R) ? "B" : R.box(204); return;
    case 244:
    case 245: {
        if (mode48(R) || R.IST2L) return;
        BS = trim(R.box(2));
        const bool alpha = !BS.empty() && (BS[0] == 'A' || uint8_t(BS[0]) == 0x80);
        if (alpha) BS = KV == 244 ? "1" : trim(R.box(62));
        return;
    }
    case 299: BS = mode48(R) ? "TIR" : R.IST2L ? "T2L" : R.box(3); return;
    case 380: BS = exp(R) && R.EDE == ED_SEND ? R.box(50) : ""; return;
    case 399:
        R.BOX5_12 = b5is(R, "12");
        R.BOX5_13 = b5is(R, "13");
        BS = R.BOX5_12 || R.BOX5_13 ? trim(R.box(5)) : "10";
        return;
    case 740: {
        if (!exp(R) && b5is(R, "12")) return;
        const std::string b11 = trim(R.box(11));
        BS = b11.size() >= 2 ? b11.substr(0, 2) : copy(R.box(84), 1, 2) == "71" ? R.box(80) : R.box(40);
        return;
    }
    case 744: {
        if (exp(R) && b5is(R, "12")) return;
        const std::string b21 = trim(R.box(21));
        BS = b21.size() >= 2 ? b21.substr(0, 2) : R.box(44);
        return;
    }
    case 741: BS = exp(R) ? "00400" : ""; return;
    case 742: BS = exp(R) ? "" : "00500"; return;
    case 796: BS = std::to_string(R.IDIOS); return;
    case 797: BS = R.IDIOS == 1 ? (exp(R) ? "00400" : "00500") : ""; return;
    case 798:
        if (mode05(R)) GET_IDIOS(R);
        BS = R.IDIOS == 2 ? "GR" : "";
        return;
    case 799:
        if (mode17(R)) GET_IDIOS(R);
        BS = R.IDIOS == 2 ? R.box(34) : "";
        return;
    case 554: BS = mtf || R.IST2L ? UMAS::LOGOTYPO[7] : ""; return;
    case 582: BS = mtf || R.IST2L ? FIXED(UMAS::TOTALXM, 2) : ""; return;
    case 534:
    case 537:
        if (R.IST2L) {
            BS = trim(R.box(KV - 500));
            if (BS.empty()) BS = "-";
        }
        return;
    case 538:
        if (R.IST2L) {
            BS = trim(UMAS::LOGOTYPO[7]);
            if (BS.empty()) BS = "-";
        }
        return;
    case 940:
        if (b5is(R, "13")) BS = trim(R.box(59)) == "40" ? "2" : trim(R.box(59)) == "10" ? "1" : "";
        return;
    case 922:
        if (b5is(R, "13") && R.AFM21.empty())
            BS = trim(R.box(59)) == "40" ? gr("ΑΕΡΟΠΛΑΝΟ") : trim(R.box(59)) == "10" ? gr("ΠΛΟΙΟ") : "";
        return;
    case 923:
        if (b5is(R, "13") && R.AFM21.empty()) BS = "-";
        return;
    case 660: BS = exp(R) ? R.box(27) : ""; return;
    case 688: BS = exp(R) ? R.box(99) : ""; return;
    case 699: BS = "GR00" + R.box(7); return;
    case 920: WRITEARIANAF(R); return;
    case 921: BS = R.box(35); return;
    case 271:
    case 281: BS = R.box(11); return;
    case 272:
    case 282: BS = R.box(21); return;
    case 56: WRITEISOTIMIA(R); return;
    case 66: SIMIA(R); return;
    case 966: SIMIA2(R); return;
    case 85: WRITEKATHESTOS_37B(R); return;
    case 993: WRITEIMCOM(R); return;
    case 994: KATHESTOS(R); return;
    case 989: ETHNIKI_FOROLOGIA(R); return;
    case 911: TYPOS_APOTHIKIS(R); return;
    case 912: XORA_APOTHIKIS(R); return;
    case 972: EMPOREYMATA(R); return;
    case 988: return;
    case 89: WRITESYMMONADES(R); return;
    case 890: WRITEMONADES(R); return;
    // ---- Transit ----
    case 181:
    case 182:
    case 183:
    case 184:
    case 291:
    case 289:
    case 505:
    case 511:
    case 521:
    case 565:
        if (!mtf) return;
        switch (KV) {
        case 181:
            if (mode48(R)) {
                BS = trim(R.ST_TIR[2]);
                if (BS.empty()) R.error(DISKVAS::ERRMESS(35));
            } else {
                BS = trim(R.box(181));
                if (!LATIN2(BS)) R.error(DISKVAS::ERRMESS(66) + gr("Υπόχρεου"));
            }
            return;
        case 291: {
            std::string v = mode48(R) ? trim(R.box(47)) : trim(R.box(181));
            if (mode48(R) && v.empty()) v = trim(R.ST_TIR[2]);
            BS = copy(v, 1, 2);
            return;
        }
        case 289:
            if (UMAS::HLEK4 && mode48(R)) {
                BS = R.ST_TIR[4];
                if (trim(BS).empty()) R.error(DISKVAS::ERRMESS(35));
            }
            return;
        case 505:
            if (trim(R.box(93)).empty()) R.error(DISKVAS::ERRMESS(25));
            else BS = "1";
            return;
        case 511:
        case 521:
            BS = trim(R.box(KV == 511 ? 11 : 21));
            if (!BS.empty() && !LATIN2(BS)) R.error(DISKVAS::ERRMESS(66) + gr(KV == 511 ? "Αποστολέα" : "Παραλήπτη"));
            return;
        case 565: BS = trim(R.box(65)).empty() ? "" : R.row().TIMES; return;
        default:  // 182, 183, 184
            BS = trim(R.box(KV));
            if (mode48(R) && BS.empty()) BS = "-";
            BS = UMAS::cut(BS, 35);
            return;
        }
    // ---- Procedure, warehouse and reference of box 144 ----
    case 495:
    case 695:
    case 910:
    case 908:
    case 909:
    case 601:
    case 600: {
        const std::string B = trim(R.box(144));
        const bool letter = !B.empty() && ((B[0] >= 'A' && B[0] <= 'F') || B[0] == 'Y' || B[0] == 'Z');
        const bool digit8 = B.size() == 8 && B[0] >= '0' && B[0] <= '9';
        const std::string mid = UMAS::REMLCH(copy(B, 5, 4), '0');
        if (KV == 495 && letter && B.size() > 5) BS = copy(B, 2, 2);
        if (KV == 695 && letter && B.size() > 9) BS = copy(B, 9, 2);
        if (KV == 910 && letter && B.size() > 5) BS = copy(B, 4, 3);
        if (KV == 908 && digit8) BS = copy(B, 1, 4);
        if (KV == 909) BS = digit8 ? mid : B.size() == 16 ? B : "";
        if (KV == 601) BS = B.size() == 16 ? "2" : "6";
        if (KV == 600) BS = mid.empty() || !(mid[0] >= '0' && mid[0] <= '9') ? "0" : "";
        return;
    }
    // ---- Goods items ----
    case 78:
        // The item row: the engine loads the sheet of items 2 and up.
        ++R.AREIDOS;
        R.AASTIX = 0;
        BS = std::to_string(R.AREIDOS);
        return;
    case 778: BS = std::to_string(R.AREIDOS); return;
    case 905: BS = UMAS::cut(std::to_string(R.AREIDOS), 2); return;
    case 68: BS = R.itemBox(68, 19); return;
    case 69: BS = INLIST(R.CODESYSK, 102) ? "" : R.itemBox(69, 20); return;
    case 80: BS = R.itemBox(80, 30); return;
    case 81:
    case 82:
    case 87:
    case 96:
    case 97: BS = R.itemBox(KV, KV - 50); return;
    case 83: BS = R.itemBox(83, 33); return;
    case 84: BS = copy(R.itemBox(84, 34), 1, 2); return;
    case 884: BS = copy(R.itemBox(84, 34), 3, 2); return;
    case 885: BS = copy(R.itemBox(85, 35), 2, 2); return;
    case 844: BS = R.B37 == "78" ? "1" : "0"; return;
    case 86: BS = R.itemBox(86, 36); return;
    case 90: BS = R.itemBox(90, 40); return;
    case 992: {
        const std::string G = trim(R.itemBox(79, 29));
        BS = exp(R) && !G.empty() ? copy(G, 1, 8) + "00" : copy(G, 1, 8) + copy(G, 10, 2);
        return;
    }
    case 991: BS = copy(R.itemBox(79, 29), 13, 4); return;
    case 990: BS = copy(R.itemBox(79, 29), 18, 4); return;
    case 100: GETAXIA(R); return;
    case 987: attached(R, 93, false, ""); return;
    case 985: attached(R, 94, false, ""); return;
    case 983: attached(R, 95, false, ""); return;
    case 986: attached(R, 93, true, "2η"); return;
    case 984: attached(R, 94, true, "3η"); return;
    case 982: attached(R, 95, true, "4η"); return;
    // ---- DAO ----
    case 330: BS = date8(D(R, 4)); return;
    case 331: BS = date8(D(R, 23)); return;
    case 332: {
        const std::string v = UMAS::REMLCH(D(R, 5), ' ');
        if (v.empty()) R.errorRow(DISKVAS::ERRMESS(16));
        R.CAPACITY = v.empty() ? 0 : v[0];
        BS = cap12(R) ? std::string(1, R.CAPACITY) : "";
        return;
    }
    case 333:
        if (cap12(R)) {
            BS = trim(D(R, 6));
            if (BS.empty()) R.errorRow(DISKVAS::ERRMESS(17));
        }
        return;
    case 334: BS = R.CAPACITY == '3' ? "GR" : ""; return;
    case 335: BS = R.CAPACITY == '3' ? UMAS::AFM_EKTEL : ""; return;
    case 336:
        switch (R.CAPACITY) {
        case '1':
        case '2': return;
        case '3': BS = "3"; return;
        case '4': BS = "1"; return;
        case '5': BS = "2"; return;
        case '6': BS = "4"; return;
        default: R.errorRow(DISKVAS::ERRMESS(18)); return;
        }
    case 337: BS = cap36(R) ? D(R, 6) : ""; return;
    case 338:
        if (cap36(R)) BS = trim(D(R, 6)).empty() ? "2" : "1";
        return;
    case 339:
    case 340:
    case 360:
    case 341:
        if (!noDeclarantTaxNumber(R)) return;
        if (KV == 339) BS = copy(trim(D(R, 10)), 1, 20);
        if (KV == 340) BS = firstWord(trim(D(R, 11)));
        if (KV == 360) BS = trim(UMAS::cut(afterFirstWord(trim(D(R, 11))), 20));
        if (KV == 341) BS = D(R, 12);
        if (KV != 341 && trim(BS).empty()) R.errorRow(DISKVAS::ERRMESS(19));
        return;
    case 401:
        if (R.DAOTYPE == 2) {
            const std::string l = D(R, 28);
            BS = l.substr(0, l.find('/'));
        }
        return;
    case 404:
        if (!trim(D(R, 29)).empty()) BS = UMAS::REMLCH(D(R, 29).substr(std::min<size_t>(4, D(R, 29).size())), '0');
        return;
    case 405:
        if (!trim(D(R, 29)).empty()) BS = copy(D(R, 29), 1, 4);
        return;
    case 406: BS = std::to_string(R.DAOTYPE); return;
    case 407:
    case 475: BS = D(R, 1); return;
    case 466: BS = D(R, 12); return;
    case 468: BS = D(R, 13); return;
    case 482: BS = D(R, 20); return;
    case 486: BS = copy(afterFirstWord(trim(D(R, 19))), 1, 20); return;
    case 487: BS = firstWord(trim(D(R, 19))); return;
    case 489: BS = copy(D(R, 18), 1, 3); return;
    case 490: BS = D(R, 17); return;
    case 491: BS = copy(D(R, 16), 1, 3); return;
    case 492:
        BS = trim(D(R, 3));
        if (BS != "1" && BS != "2") R.error(DISKVAS::ERRMESS(24));
        return;
    case 493:
    case 499: {
        if (trim(D(R, 3)) != (KV == 493 ? "1" : "2")) return;
        BS = trim(D(R, 4));
        if (BS.empty()) R.error(DISKVAS::ERRMESS(KV == 493 ? 23 : 34));
        return;
    }
    case 494:
    case 496:
        BS = trim(D(R, KV == 494 ? 11 : 8));
        if (BS.empty()) BS = "-";
        return;
    case 395: {
        const std::string a = trim(D(R, 9)), b = trim(D(R, 10));
        BS = a.empty() && b.empty() ? "-" : a + " " + b;
        return;
    }
    case 497:
        BS = trim(D(R, 7));
        if (trim(D(R, 3)) == "1" && BS.empty()) R.error(DISKVAS::ERRMESS(22));
        return;
    case 498: {
        const std::string a = trim(D(R, 5)), b = trim(D(R, 6));
        BS = a + " " + b;
        if (trim(D(R, 3)) == "1" && a.empty() && b.empty()) R.error(DISKVAS::ERRMESS(22));
        return;
    }
    case 442: WRITEANAFDAO(R); return;
    case 402: HMERDAO(R); return;
    case 403: WRITETYPOSDAO(R); return;
    case 599: WRITEPLESIO(R); return;
    case 602: DAONUM(R); return;
    case 607: GETXORISDAO(R); return;
    case 467: ARKYKLOFORIAS(R); return;
    case 608: BS = R.XORISDAO ? "" : "20" + copy(R.box(8), 5, 2); return;
    case 609: BS = R.XORISDAO ? "0" : "4"; return;
    // ---- Manifest ----
    case 343:
        ++R.AASTIX;
        BS = std::to_string(R.AASTIX);
        return;
    case 344: {
        const std::string c = copy(trim(cell(R, 1)), 1, 1);
        const bool digit = !c.empty() && c[0] >= '0' && c[0] <= '9';
        R.EIDOSFORTO = digit ? c[0] - '0' : 0;
        if (!c.empty() && !digit) R.errorRow(DISKVAS::ERRMESS(20));
        BS = R.EIDOSFORTO > 5 ? "" : c;
        return;
    }
    case 345: BS = R.EIDOSFORTO <= 5 ? cell(R, 2) : ""; return;
    case 346: {
        static const char* const K[] = {"ATA", "T1", "T2", "TIR"};
        BS = R.EIDOSFORTO >= 6 && R.EIDOSFORTO <= 9 ? K[R.EIDOSFORTO - 6] : "";
        return;
    }
    case 347: BS = R.EIDOSFORTO > 5 ? cell(R, 3) : ""; return;
    case 359: BS = R.EIDOSFORTO > 5 && R.BUF ? R.BUF->cell(3) : ""; return;
    case 348: BS = cell(R, 4); return;
    case 349: BS = cell(R, 6); return;
    case 350:
        BS = cell(R, 7);
        if (trim(cell(R, 6)) == "58" && ROUNDED(UMAS::EVAL(BS)) != 1) R.errorRow(DISKVAS::ERRMESS(21));
        return;
    case 351: BS = UMAS::cut(trim(trim(cell(R, 9)) + " " + cell(R, 10)), 30); return;
    case 352: BS = cell(R, 11); return;
    case 355: BS = std::to_string(R.MANIFESTKOLA); return;
    case 356: BS = FIXED(R.MANIFESTMASS, 2); return;
    case 342: WRITEANAFDIL(R); return;
    case 353: KATASDILO(R); return;
    case 358: WRITEEIDOSFORTO(R); return;
    default:
        if (KV >= 301 && KV <= 326) BS = D(R, KV - 300);
        else if (KV >= 1 && KV <= 289) BS = R.box(KV);
        return;
    }
}

void AFTERVALUE(RUN& R) {
    const uint16_t KV = R.KV();
    std::string& BS = R.BS;
    switch (KV) {
    case 11: R.AFM11 = UMAS::cut(BS, 15); return;
    case 21: R.AFM21 = UMAS::cut(BS, 15); return;
    case 12:
    case 13:
    case 14:
        if (impOrMet(R) && BS.empty()) R.error(DISKVAS::ERRMESS(41));
        return;
    case 17:
        if (BS.size() == 1 && BS != "A" && BS != "B" && BS != "E") R.error(DISKVAS::ERRMESS(27));
        return;
    case 19:
        if (mode05(R) && impOrMet(R) && BS.empty()) R.error(DISKVAS::ERRMESS(30));
        return;
    case 22:
    case 23:
    case 24:
        if (exp(R) && !R.IST2L && BS.empty()) R.error(DISKVAS::ERRMESS(40));
        return;
    case 33:
        if (!BS.empty() && BS != "00" && BS != "01" && BS != "02") R.error(DISKVAS::ERRMESS(38));
        return;
    case 40:
    case 44: CHECKXORAEX(R); return;
    case 47: CHECKXORAMET(R); return;
    case 48:
        if (!BS.empty() && BS != "0" && BS != "1") R.error(DISKVAS::ERRMESS(31));
        return;
    case 49: FOBCIF(R); return;
    case 53: {
        CHECKXORAMET(R);
        const char m = R.box(59)[0];
        if (m != '2' && m != '5' && m != '7' && BS.empty() && exp(R)) R.error(DISKVAS::ERRMESS(37));
        return;
    }
    case 54: CHECKXORANOM(R); return;
    case 57:
    case 58: {
        const std::string k = copy(R.box(84), 1, 2);
        if (UMAS::HLEK4 && (k == "21" || k == "22") && BS.empty()) R.error(DISKVAS::ERRMESS(29));
        return;
    }
    case 59:
    case 60:
        if (!mode48(R) && !R.IST2L) CHECKTROPOMET(R);
        return;
    case 271:
    case 281: EORI_APOS(R); return;
    case 272:
    case 282: EORI_PARAL(R); return;
    case 68:
        if (BS.size() != 2) R.error(DISKVAS::ERRMESS(68) + std::to_string(R.AREIDOS) + gr("ο είδος."));
        else R.CODESYSK = BS;
        return;
    case 80:
        if (!exp(R)) CHECKXORAEX(R);
        return;
    case 83:
        if (mode05(R) && R.EXT == "IMP" && copy(R.box(2), 1, 2) != "CO" && copy(R.box(84), 1, 2) != "71" && BS.empty())
            R.error(DISKVAS::ERRMESS(39));
        return;
    case 84:
        if (BS == "42" && trim(R.box(26)).empty()) R.error(DISKVAS::ERRMESS(67));
        if (BS.size() != 2) R.error(DISKVAS::ERRMESS(36));
        return;
    case 884:
        R.B37 = BS;
        if (BS.size() != 2) R.error(DISKVAS::ERRMESS(36));
        return;
    case 86: {
        const double gross = UMAS::EVAL(R.itemBox(82, 32));
        if (UMAS::EVAL(BS) > gross && gross > 0.001) R.error(DISKVAS::ERRMESS(33));
        return;
    }
    case 90:
        if (mode05(R) && impOrMet(R) && !b5is(R, "12") && copy(R.box(84), 1, 2) != "71" && BS.empty())
            R.error(DISKVAS::ERRMESS(28));
        return;
    default: return;
    }
}

}  // namespace DISKET
