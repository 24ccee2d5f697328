// Internal to the store: a planned update over a set of record files. Reads see the update's own
// writes; nothing reaches the disk until commit(), which makes the writes in the order they were
// planned. A read outside a file throws Damaged.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace STORE {

struct Damaged {
    std::string file;
    std::string what;
};

class Tx {
public:
    explicit Tx(std::string dir) : dir(std::move(dir)) {}
    // Opens a store file of the folder (it must exist: a missing store file is fatal). Returns its
    // handle within this update.
    int open(const std::string& name, bool write);
    int64_t size(int f) const { return files[size_t(f)]->logical; }
    int64_t records(int f, int recSize) const { return size(f) / recSize; }
    const std::string& name(int f) const { return files[size_t(f)]->name; }
    // Exactly n bytes inside the file, else Damaged.
    void read(int f, int64_t off, void* buf, size_t n);
    bool inside(int f, int64_t off, size_t n) const { return off >= 0 && off + int64_t(n) <= size(f); }
    // The whole file as this update sees it (its planned writes included), read from the disk in
    // one piece: for walks over every list of an index.
    void image(int f, std::string& out);
    void write(int f, int64_t off, const void* buf, size_t n);
    void write(int f, int64_t off, const std::string& b) { write(f, off, b.data(), b.size()); }
    // Cuts the file to n bytes (planned like a write).
    void truncate(int f, int64_t n);
    void commit();
    size_t pendingWrites() const { return log.size(); }
    [[noreturn]] void damaged(int f, const std::string& what) const { throw Damaged{name(f), what}; }

private:
    static constexpr int64_t PAGE = 4096;
    struct F {
        PLAT::File file;
        std::string name;
        int64_t disk = 0;     // size on disk when opened
        int64_t logical = 0;  // size with the planned writes
        std::map<int64_t, std::vector<uint8_t>> pages;
    };
    struct W {
        int f;
        int64_t off;
        std::vector<uint8_t> bytes;
        bool cut = false;  // truncate to off
    };
    std::vector<uint8_t>& page(F& x, int64_t p);
    std::string dir;
    std::vector<std::unique_ptr<F>> files;
    std::vector<bool> writable;
    std::vector<W> log;
};

}  // namespace STORE
