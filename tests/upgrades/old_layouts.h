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
