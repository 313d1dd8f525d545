// The Backups menu's list of 200 backups, each compared with the one before it, against reading
// the same 200 files; both measured in this run.
#include "backups.h"
#include "dump_builder.h"
#include "dump_image.h"

#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kBackups = 200;

// A folder of W2-sized backups, one a minute, each a little changed from the one before.
const std::string& Folder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "korvel-backups-bench";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        for (int i = 0; i < kBackups; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "W2 2026-12-%02d %02d-%02d-00.syx", 1 + i / 60 / 24,
                          i / 60 % 24, i % 60);
            korvel::testing::WriteFile((path / name).string(),
                                       korvel::testing::FullDump(i / 3, 200, 100));
        }
        return path.string();
    }();
    return folder;
}

std::vector<std::string> Files() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        files.push_back(entry.path().string());
    }
    return files;
}

void BM_ReadFiles(benchmark::State& state) {
    const std::vector<std::string> files = Files();
    for (auto _ : state) {
        for (const std::string& file : files) {
            korvel::DumpImage image;
            benchmark::DoNotOptimize(image.LoadFile(file));
        }
    }
}

void BM_BackupsList(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvel::ListBackups(Folder(), korvel::MemoryLayout(), kBackups));
    }
}

BENCHMARK(BM_ReadFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackupsList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Listing reads each file once; comparing neighbours and sorting may add at most twice as
    // much again. The menu itself lists 20: a tenth of this.
    const int result =
        korvel::bench::RunWithRatios(argc, argv, {{"BM_BackupsList", "BM_ReadFiles", 3}});
    std::filesystem::remove_all(Folder());
    return result;
}
