#include "TempDir.h"

#include <filesystem>
#include <random>
#include <stdexcept>

// mkdtemp, done with the standard library so that it works on Windows too: a random name that
// nobody else holds, readable by its owner alone.
TempDir::TempDir()
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / ("zorvalit-test-" + std::to_string(random() % 1000000000));
        // create_directory is false when the name is taken.
        if (std::filesystem::create_directory(candidate)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all);
            path_ = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("no scratch folder could be made");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::Link(const std::string& name, const std::string& target) const
{
    std::filesystem::remove(path(name));
    std::filesystem::create_symlink(target, path(name));
}
