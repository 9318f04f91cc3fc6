#pragma once
// A directory tree built for one test under a fresh mkdtemp folder, removed again afterwards.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace permora::test {

class TTempTree {
 public:
  TTempTree() {
    std::string pattern = "/tmp/permora-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    // Reachable by the unprivileged user that permission tests run as.
    ::chmod(pattern.c_str(), 0755);
    FRoot = pattern;
  }
  ~TTempTree() {
    std::error_code ignored;
    RestorePermissions();
    std::filesystem::remove_all(FRoot, ignored);
  }
  TTempTree(const TTempTree&) = delete;
  TTempTree& operator=(const TTempTree&) = delete;

  const std::string& Root() const { return FRoot; }
  std::string Path(const std::string& relative) const { return relative.empty() ? FRoot : FRoot + "/" + relative; }

  // Creates the directory and its parents; returns its path.
  std::string Dir(const std::string& relative) const {
    std::filesystem::create_directories(Path(relative));
    return Path(relative);
  }
  // Creates a file (and its parent directories) with the given contents; returns its path.
  std::string File(const std::string& relative, const std::string& contents = "") const {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary) << contents;
    return Path(relative);
  }
  // A symbolic link at `relative` pointing at `target` (as written).
  std::string Link(const std::string& relative, const std::string& target) const {
    std::filesystem::create_symlink(target, Path(relative));
    return Path(relative);
  }

 private:
  // Directories a test made unreadable must be opened again before they can be removed.
  void RestorePermissions() const {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(FRoot, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0755);
    }
  }

  std::string FRoot;
};

// Sets TZ for one scope and restores the zone before.
class TTimeZoneScope {
 public:
  explicit TTimeZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) FOld = old;
    else FHadNone = true;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TTimeZoneScope() {
    if (FHadNone) ::unsetenv("TZ");
    else ::setenv("TZ", FOld.c_str(), 1);
    ::tzset();
  }
  TTimeZoneScope(const TTimeZoneScope&) = delete;
  TTimeZoneScope& operator=(const TTimeZoneScope&) = delete;

 private:
  std::string FOld;
  bool FHadNone = false;
};

}  // namespace permora::test
