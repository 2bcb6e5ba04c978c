#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// A fresh directory for one check's files, removed again with everything in it.
class TempDir {
  public:
    TempDir() {
        const auto base = std::filesystem::temp_directory_path();
        std::random_device random;
        do {
            path_ = base / ("duskhall-loader-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
