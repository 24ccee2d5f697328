// Benchmarks of the modules register here and run from the benchmark program's main.
#pragma once
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/umas.h"
#include "shell/install.h"

namespace BENCH {

struct Entry {
    std::string name;
    std::function<void()> run;
};

inline std::vector<Entry>& registry() {
    static std::vector<Entry> r;
    return r;
}

struct Register {
    Register(const std::string& name, std::function<void()> run) { registry().push_back({name, std::move(run)}); }
};

using Clock = std::chrono::steady_clock;
inline double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// An installation of one company in a new folder under /tmp, made the working folder for as long
// as it lives, with UMAS::PATH its company folder; then the old working folder again and the
// folder removed.
class OneCompany {
public:
    OneCompany() {
        char tmpl[] = "/tmp/korvex-bench-XXXXXX";
        dir_ = mkdtemp(tmpl);
        std::filesystem::current_path(dir_);
        INSTALL::makeInstallation(dir_, "DATABASE", {INSTALL::Company{"BENCH", "", "", "", "", "", "", "", ""}}, "");
        UMAS::PATH = dir_ + "/DATABASE/ARXEIO0/";
    }
    ~OneCompany() {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    OneCompany(const OneCompany&) = delete;
    OneCompany& operator=(const OneCompany&) = delete;

private:
    std::filesystem::path old_ = std::filesystem::current_path();
    std::string dir_;
};

inline void runAll() {
    for (auto& e : registry()) e.run();
}

}  // namespace BENCH
