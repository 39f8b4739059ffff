#pragma once
// A fresh temporary folder, removed with everything in it at the end of its
// scope; optionally the current folder while it lives.

#include <filesystem>
#include <string>

namespace sorvane::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Makes a folder the current one for its lifetime (debug.log and relative
// backup paths land there).
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path previous_;
};

// The whole content of a file, or an empty text when it does not exist.
std::string ReadWholeFile(const std::filesystem::path& file);

}  // namespace sorvane::test
