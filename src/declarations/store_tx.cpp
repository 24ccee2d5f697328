// A planned update over the store files: cached pages, the planned writes seen by later reads, and
// the commit that makes the writes in order.
#include "declarations/store_tx.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "declarations/store.h"

namespace STORE {

int Tx::open(const std::string& nm, bool write) {
    std::string path = dir + nm;
    for (size_t i = 0; i < files.size(); ++i)
        if (files[i]->name == path) {
            if (write && !writable[i]) {
                files[i]->file.open(path, PLAT::File::READWRITE);
                writable[i] = true;
            }
            return int(i);
        }
    auto x = std::make_unique<F>();
    x->name = path;
    x->file.open(path, write ? PLAT::File::READWRITE : PLAT::File::READ);
    x->disk = x->logical = x->file.size();
    files.push_back(std::move(x));
    writable.push_back(write);
    return int(files.size() - 1);
}

std::vector<uint8_t>& Tx::page(F& x, int64_t p) {
    auto it = x.pages.find(p);
    if (it != x.pages.end()) return it->second;
    std::vector<uint8_t> buf(size_t(PAGE), 0);
    if (p * PAGE < x.disk) x.file.readSome(p * PAGE, buf.data(), size_t(std::min(PAGE, x.disk - p * PAGE)));
    return x.pages.emplace(p, std::move(buf)).first->second;
}

void Tx::read(int f, int64_t off, void* buf, size_t n) {
    if (!inside(f, off, n)) damaged(f, "read past the end at " + std::to_string(off));
    F& x = *files[size_t(f)];
    auto* out = static_cast<uint8_t*>(buf);
    while (n > 0) {
        int64_t p = off / PAGE, in = off % PAGE;
        size_t k = size_t(std::min<int64_t>(int64_t(n), PAGE - in));
        std::memcpy(out, page(x, p).data() + in, k);
        out += k;
        off += int64_t(k);
        n -= k;
    }
}

void Tx::image(int f, std::string& out) {
    F& x = *files[size_t(f)];
    out.resize(size_t(x.logical));
    const size_t got = x.file.readSome(0, out.data(), size_t(std::min(x.disk, x.logical)));
    std::fill(out.begin() + std::ptrdiff_t(got), out.end(), '\0');
    for (const auto& [p, bytes] : x.pages) {
        const int64_t at = p * PAGE;
        if (at < x.logical) std::memcpy(out.data() + at, bytes.data(), size_t(std::min(PAGE, x.logical - at)));
    }
}

void Tx::write(int f, int64_t off, const void* buf, size_t n) {
    F& x = *files[size_t(f)];
    const auto* in = static_cast<const uint8_t*>(buf);
    log.push_back(W{f, off, std::vector<uint8_t>(in, in + n)});
    int64_t o = off;
    size_t left = n;
    while (left > 0) {
        int64_t p = o / PAGE, at = o % PAGE;
        size_t k = size_t(std::min<int64_t>(int64_t(left), PAGE - at));
        std::memcpy(page(x, p).data() + at, in, k);
        in += k;
        o += int64_t(k);
        left -= k;
    }
    x.logical = std::max(x.logical, off + int64_t(n));
}

void Tx::truncate(int f, int64_t n) {
    F& x = *files[size_t(f)];
    log.push_back(W{f, n, {}, true});
    for (auto it = x.pages.begin(); it != x.pages.end();) {
        int64_t start = it->first * PAGE;
        if (start >= n) {
            it = x.pages.erase(it);
            continue;
        }
        if (start + PAGE > n) std::fill(it->second.begin() + (n - start), it->second.end(), 0);
        ++it;
    }
    x.logical = n;
    x.disk = std::min(x.disk, n);
}

void Tx::commit() {
    int done = 0;
    for (const W& w : log) {
        F& x = *files[size_t(w.f)];
        if (w.cut)
            x.file.truncate(w.off);
        else
            x.file.writeAt(w.off, w.bytes.data(), w.bytes.size());
        ++done;
        if (crashAfterWrites >= 0 && done >= crashAfterWrites) kill(getpid(), SIGKILL);
    }
    log.clear();
}

}  // namespace STORE
