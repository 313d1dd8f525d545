#include "temp_dir.h"

#include "paths.h"

#include <filesystem>
#include <random>

namespace korvel::testing {

TempDir::TempDir() {
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("korvel-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = Utf8Of(candidate);
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(*NativePathOf(path_), error);
}

}  // namespace korvel::testing
