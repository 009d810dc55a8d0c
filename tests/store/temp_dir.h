#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvo {

/// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern)
                                                     : std::filesystem::path();
        EXPECT_FALSE(path_.empty());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

}  // namespace kelvo
