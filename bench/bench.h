// Benchmarks of the modules register here and run from the benchmark program's main.
#pragma once
#include <functional>
#include <string>
#include <vector>

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

inline void runAll() {
    for (auto& e : registry()) e.run();
}

}  // namespace BENCH
