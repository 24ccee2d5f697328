// The customer conversions of an old company with 10000 customers: the records widened from the
// shorter layout, the name index rebuilt from the oldest layout (50 buckets of 100 entries: 5000
// customers, as many as that layout can hold) and extended to 60 buckets. Files on the disk of the
// working folder, flushed as in a real run. Run with `make bench`.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench.h"
#include "common/umas.h"
#include "platform/codec.h"
#include "upgrades/rebuilds.h"

namespace fs = std::filesystem;

namespace {

void put(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
}

// 10000 old customer records and the oldest index: bucket b chains customers b*100 .. b*100+99,
// each entry in its bucket's own records, the chain running through them backwards.
void oldCompany(const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string mf(10000 * 252, '\0');
    for (int i = 0; i < 10000; ++i) {
        uint8_t* r = reinterpret_cast<uint8_t*>(mf.data()) + i * 252;
        std::string name = "CUSTOMER " + std::to_string(i);
        PLAT::putS(r, 30, name);
        PLAT::putS(r + 73, 30, "ADDRESS " + std::to_string(i));
        PLAT::putS(r + 104, 20, "TOWN");
        PLAT::putL(r + 213, i * 100);
    }
    std::string idx(20200, '\0');
    auto* p = reinterpret_cast<uint8_t*>(idx.data());
    for (int b = 0; b < 50; ++b) {
        int head = b * 101;
        PLAT::putW(p + head * 4 + 2, uint16_t(head + 100));
        for (int k = 100; k >= 1; --k) {
            int customer = b * 100 + (100 - k);
            uint8_t* e = p + (head + k) * 4;
            e[0] = uint8_t(customer & 0xFF);
            e[1] = uint8_t(customer >> 8);
            PLAT::putW(e + 2, uint16_t(k > 1 ? head + k - 1 : 0));
        }
    }
    put(dir / "MF.DAT", mf);
    put(dir / "IF.DAT", idx);
    put(dir / "PN.DAT", std::string(10000, '\0'));
    put(dir / "XPN.DAT", std::string(10000, '\0'));
}

double ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void rebuildsBench() {
    char tmpl[] = "/tmp/korvex-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return;
    fs::path base = fs::absolute(tmpl);
    fs::path dir = base / "ARXEIO0";
    UMAS::PATH = dir.string() + "/";
    std::vector<double> pel, rebuild, extend, total;
    for (int run = 0; run < 9; ++run) {
        oldCompany(dir);
        auto t0 = std::chrono::steady_clock::now();
        REBUILDS::REB_PELAT("MF");
        auto t1 = std::chrono::steady_clock::now();
        REBUILDS::REIDEX_PELAT("IF");
        auto t2 = std::chrono::steady_clock::now();
        REBUILDS::REIDEX_PEL2("IF");
        auto t3 = std::chrono::steady_clock::now();
        if (fs::file_size(dir / "MF.DAT") != 10000 * 302 || fs::file_size(dir / "IF.DAT") != 2400480) {
            std::fprintf(stderr, "conversion incomplete\n");
            return;
        }
        pel.push_back(ms(t0, t1));
        rebuild.push_back(ms(t1, t2));
        extend.push_back(ms(t2, t3));
        total.push_back(ms(t0, t3));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("customer records widened (10000):              %6.1f ms\n", median(pel));
    std::printf("name index rebuilt from the oldest layout (5000): %6.1f ms\n", median(rebuild));
    std::printf("name index extended to 60 buckets:             %6.1f ms\n", median(extend));
    std::printf("customer conversions together (median of 9):   %6.1f ms (aim: under 200)\n", median(total));
    UMAS::PATH.clear();
    fs::remove_all(base);
}

BENCH::Register reg("rebuilds", rebuildsBench);

}  // namespace
