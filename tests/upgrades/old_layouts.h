// A small library of data files in their older layouts, and of the current layouts they become,
// built field by field at the offsets the file formats give (independent of the program's codecs).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace OLD {

// A text field: one length byte and cap characters (CP737), unused bytes zero.
std::string S(int cap, const std::string& text);
std::string W(uint16_t v);
std::string L(int32_t v);
std::string B(uint8_t v);
// Zero bytes appended up to n (entries that a table does not fill).
std::string pad(std::string s, size_t n);

// ---- Countries "XVR.DAT" -----
struct Pol { uint16_t kv; std::string ci; };
std::string ORECPOL(const Pol& p);                         // 23 bytes
std::string RECPOL(const std::string& kv, const std::string& ci);  // 26 bytes

// ---- Currencies "NOM.DAT" -----
struct Nom { std::string kv, no, st; uint16_t mo; std::string ig, is; };
std::string OORECNOM(uint16_t kv, const Nom& n);  // 45 bytes, the code a WORD
std::string ORECNOM(const Nom& n);                // 48 bytes
std::string RECNOM(const Nom& n);                 // 50 bytes
std::string nomHead(const std::string& h1, const std::string& h2);  // 14 bytes

// ---- Documents "PRE.DAT" -----
std::string ORECPRE1(const std::string& ee);                          // 31 bytes
std::string ORECPRE2(const std::string& kv, const std::string& ee);   // 35 bytes
std::string RECPRE(const std::string& kv, const std::string& ee);     // 36 bytes

// ---- Taxes "TAX.DAT" -----
struct Tax { std::string fo, ps; uint8_t ei; };
std::string ORECTAX(uint16_t kv, const Tax& t);           // 26 bytes
std::string RECTAX(const std::string& kv, const Tax& t);  // 28 bytes

// ---- Customs offices "TEL.DAT" -----
std::string ORECTEL(uint16_t kv, const std::string& te);                         // 23 bytes
std::string RECTEL(uint16_t kv, const std::string& te, const std::string& ci);   // 44 bytes

// ---- Customers "MF.DAT" -----
struct Customer {
    std::string ea, af, on, di, po, tk, th1, th2, ep, sx;
    uint8_t dk = 0;
    int32_t xr = 0, pi = 0;
    std::string ef;
};
std::string ORECPEL(const Customer& c);  // 252 bytes
std::string RR0(const Customer& c);      // 302 bytes
// A customer whose fields are filled from n (every field used, lengths varying with n).
Customer sample(int n);

// ---- Name index "IF.DAT" -----
// The oldest layout: 50 buckets of 101 records of 4 bytes.
class OldIndex {
public:
    OldIndex();
    void head(int bucket, uint16_t first);                       // FA of bucket's head
    void entry(uint16_t pos, uint16_t customer, uint16_t next);  // an entry at any record
    // A chain of customers in bucket b's own records b*101+1, +2, ... in the given order.
    void chain(int bucket, const std::vector<uint16_t>& customers);
    const std::string& bytes() const { return img; }

private:
    std::string img;
};
// The current layout: buckets of 5001 records of 8 bytes, chains in the first records.
std::string newIndex(int buckets, const std::map<int, std::vector<int32_t>>& chains);

// ---- Field tables "PARDISK.DAT" ... and the series files -----
std::string ORECPARTIM7(uint16_t kv, const std::string& pedio, const std::string& status, const std::string& typos,
                        const std::string& times);  // 49 bytes
std::string RECPARTIM7(uint16_t kv, const std::string& pedio, const std::string& status, const std::string& mikos,
                       const std::string& typos, const std::string& times);  // 46 bytes
struct Series { std::string seira; int32_t aa = 0; uint8_t porta = 0, miksel = 0, katak = 0, oriz = 0, emul = 0, polap = 0, formix = 0; };
std::string RECSEIRES(const Series& s);  // 14 bytes

// ---- Goods "EMP.DAT", "PEMP.DAT" -----
struct Goods {
    std::string ri[6], tr[20], pc[48], sx[6];
    uint8_t ee = 0, kf[20][8] = {};
};
Goods goods(int n);                 // every field filled from n
Goods blankGoods();                 // texts of blanks, numbers 0
std::string ORECPEMP(const Goods& g);  // 883 bytes: 24 taxes
std::string REK(const Goods& g);       // 1075 bytes: 48 taxes
std::string REC(const std::string& kv, uint16_t ri);  // 29 bytes

// ---- Day tables "TH.DAT", "AH.DAT" (4-byte nodes), "DISH.DAT" (6-byte nodes) -----
class DayTable {
public:
    DayTable(int records, size_t rec);        // every record an empty slot
    void node(int r, int32_t hr, uint16_t nr);  // record r (the file grows to hold it)
    // Empty day slots inserted after record `at`, every non-zero link from `at` on moved by n.
    DayTable widened(int at, int n) const;
    const std::string& bytes() const { return img; }
    int records() const { return int(img.size() / rec); }

private:
    std::string empty() const;
    std::string img;
    size_t rec;
};

// ---- Number indexes "DISI.DAT" (17-byte records, keys of 10) and "BISI.DAT" (21, 14) -----
// 9 buckets of `stride` records: heads {SY, US, FA} and entries {RE, AL, KL}.
class NumberIndex {
public:
    NumberIndex(int stride, int rec, int keyLen);  // heads {stride - 1, 0, 0}
    void head(int bucket, uint16_t sy, uint16_t us, uint16_t fa);
    void entry(int pos, int32_t re, uint16_t al, const std::string& kl);
    // The current layout: each bucket's chain in its first records, in the given order.
    static NumberIndex rebuilt(int stride, int rec, int keyLen,
                               const std::map<int, std::vector<std::pair<int32_t, std::string>>>& chains);
    const std::string& bytes() const { return img; }

private:
    std::string img;
    int stride, rec, keyLen;
};

// ---- Files -----
// Bytes of every regular file in a folder by name.
std::map<std::string, std::string> snapshot(const std::string& dir);
// Makes folder `to` hold exactly these files: files of other names removed, files that differ (or
// share their data with another name) written anew, equal ones left alone.
void restore(const std::map<std::string, std::string>& files, const std::string& to);
// True when the file holds exactly these bytes (read in pieces, nothing allocated for the whole).
bool sameBytes(const std::string& path, const std::string& bytes);
// The names of the regular files of a folder.
std::vector<std::string> fileNames(const std::string& dir);

}  // namespace OLD
