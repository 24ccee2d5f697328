// Record codecs: every on-disk field is read and written at its offset, little-endian unless a
// format says big-endian. Pascal strings are a length byte followed by the capacity in bytes.
#pragma once
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace PLAT {

inline uint8_t getB(const uint8_t* p) { return p[0]; }
inline uint16_t getW(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t getI(const uint8_t* p) { return int16_t(getW(p)); }
inline uint32_t getDW(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
inline int32_t getL(const uint8_t* p) { return int32_t(getDW(p)); }
inline double getD(const uint8_t* p) { uint64_t v = 0; for (int i = 7; i >= 0; --i) v = (v << 8) | p[i]; double d; std::memcpy(&d, &v, 8); return d; }
inline uint16_t getWBE(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline int32_t getLBE(const uint8_t* p) { return int32_t((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]); }

inline void putB(uint8_t* p, uint8_t v) { p[0] = v; }
inline void putW(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void putI(uint8_t* p, int16_t v) { putW(p, uint16_t(v)); }
inline void putL(uint8_t* p, int32_t v) { uint32_t u = uint32_t(v); for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i)); }
inline void putD(uint8_t* p, double d) { uint64_t v; std::memcpy(&v, &d, 8); for (int i = 0; i < 8; ++i) p[i] = uint8_t(v >> (8 * i)); }
inline void putWBE(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void putLBE(uint8_t* p, int32_t v) { uint32_t u = uint32_t(v); p[0] = uint8_t(u >> 24); p[1] = uint8_t(u >> 16); p[2] = uint8_t(u >> 8); p[3] = uint8_t(u); }

// string[cap]: length byte at p, characters after it; a length beyond cap is cut to cap.
inline std::string getS(const uint8_t* p, int cap) {
    int n = p[0] > cap ? cap : p[0];
    return std::string(reinterpret_cast<const char*>(p + 1), size_t(n));
}
// The same, for readers that tell a damaged record: a length beyond cap, which no write leaves,
// sets damaged (it is never cleared here, so one flag serves a whole record); the text is cut.
inline std::string getS(const uint8_t* p, int cap, bool& damaged) {
    if (p[0] > cap) damaged = true;
    return getS(p, cap);
}
// True when a character of the string[cap] at p, within its length (cut to cap), is a control
// character (below 32): text a field editor never lets through.
inline bool hasControl(const uint8_t* p, int cap) {
    const int n = p[0] > cap ? cap : p[0];
    for (int i = 1; i <= n; ++i)
        if (p[i] < 32) return true;
    return false;
}
// Writes s cut to cap characters; the unused bytes after it are zero.
inline void putS(uint8_t* p, int cap, const std::string& s) {
    size_t n = s.size() > size_t(cap) ? size_t(cap) : s.size();
    p[0] = uint8_t(n);
    std::memcpy(p + 1, s.data(), n);
    std::memset(p + 1 + n, 0, size_t(cap) - n);
}

// A record image of a fixed size, checked at compile time against the layout's stated size.
template <size_t N>
struct Rec {
    static constexpr size_t SIZE = N;
    uint8_t b[N]{};
    uint8_t* p(size_t off) { if (off >= N) throw std::out_of_range("record offset"); return b + off; }
    const uint8_t* p(size_t off) const { if (off >= N) throw std::out_of_range("record offset"); return b + off; }
};

}  // namespace PLAT
