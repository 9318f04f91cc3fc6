#include "platform/SystemDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>

namespace permora {

namespace {

constexpr int64_t SecondsFrom1601To1970 = 11'644'473'600;
constexpr uint64_t TicksPerSecond = 10'000'000;

// A directory stream that is closed however its scope is left.
class TDirectoryStream {
 public:
  explicit TDirectoryStream(const String& path) : FDir(::opendir(path.c_str())) {}
  ~TDirectoryStream() {
    if (FDir) ::closedir(FDir);
  }
  TDirectoryStream(const TDirectoryStream&) = delete;
  TDirectoryStream& operator=(const TDirectoryStream&) = delete;

  bool IsOpen() const { return FDir != nullptr; }
  int Descriptor() const { return ::dirfd(FDir); }
  // Null at the end, and also when reading fails: what was read so far is the listing.
  const dirent* Next() { return ::readdir(FDir); }

 private:
  DIR* FDir;
};

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Bytes of the UTF-8 character at s[i]; a byte that starts no valid sequence counts as one character.
std::size_t CharacterLength(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (i + length > s.size()) return 1;
  for (std::size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return length;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

TFileTime ToFileTime(const struct statx_timestamp& t) { return UnixTimeToFileTime(t.tv_sec, t.tv_nsec); }

uint32_t AttributesOf(bool isDirectory, bool isRegular, bool ownerMayWrite, std::string_view name) {
  uint32_t attributes = 0;
  if (isDirectory) attributes |= faDirectory;
  if (!ownerMayWrite) attributes |= faReadOnly;
  if (!name.empty() && name.front() == '.') attributes |= faHidden;
  if (isRegular) attributes |= faArchive;
  return attributes;
}

TFindEntry::TKind KindOfMode(uint32_t mode) {
  if (S_ISDIR(mode)) return TFindEntry::TKind::ekDirectory;
  if (S_ISREG(mode)) return TFindEntry::TKind::ekRegular;
  return TFindEntry::TKind::ekOther;
}

// The status of `path` (relative to `directoryFd`), following a symbolic link; a link whose target
// is missing is taken as itself.
bool ReadStatx(int directoryFd, const char* path, struct statx& sx) {
  constexpr unsigned mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_INO | STATX_BTIME;
  if (::statx(directoryFd, path, AT_STATX_SYNC_AS_STAT, mask, &sx) == 0) return true;
  return ::statx(directoryFd, path, AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, mask, &sx) == 0;
}

TFileIdentity IdentityOf(const struct statx& sx) {
  return TFileIdentity{(uint64_t{sx.stx_dev_major} << 32) | sx.stx_dev_minor, sx.stx_ino};
}

uint32_t AttributesOfStatx(const struct statx& sx, std::string_view name) {
  return AttributesOf(S_ISDIR(sx.stx_mode), S_ISREG(sx.stx_mode), (sx.stx_mode & S_IWUSR) != 0, name);
}

}  // namespace

// Fills the status of entries while their directory is still open, where that costs least.
class TFindEntryReader {
 public:
  static void Read(const TFindEntry& entry, int directoryFd, const char* path) {
    auto status = std::make_shared<TFindEntry::TStatus>();
    struct statx sx {};
    if (ReadStatx(directoryFd, path, sx)) {
      status->Found = true;
      TFindData& d = status->Data;
      d.dwFileAttributes = AttributesOfStatx(sx, entry.FName);
      d.ftCreationTime = (sx.stx_mask & STATX_BTIME) ? ToFileTime(sx.stx_btime) : TFileTime{};
      d.ftLastAccessTime = ToFileTime(sx.stx_atime);
      d.ftLastWriteTime = ToFileTime(sx.stx_mtime);
      // A directory has no size of its own to report.
      const uint64_t size = S_ISDIR(sx.stx_mode) ? 0 : sx.stx_size;
      d.nFileSizeHigh = static_cast<uint32_t>(size >> 32);
      d.nFileSizeLow = static_cast<uint32_t>(size);
      d.cFileName = entry.FName;
      status->Identity = IdentityOf(sx);
    } else {
      // Gone since it was listed: what the listing knew is all there is.
      TFindData& d = status->Data;
      d.dwFileAttributes = AttributesOf(entry.IsDirectory(), entry.FKind == TFindEntry::TKind::ekRegular, true, entry.FName);
      d.cFileName = entry.FName;
    }
    entry.FStatus = std::move(status);
  }

  static TFindEntry::TKind KindOfLink(int directoryFd, const char* name) {
    struct stat st {};
    if (::fstatat(directoryFd, name, &st, 0) != 0) return TFindEntry::TKind::ekOther;
    return KindOfMode(st.st_mode);
  }
};

TFindEntry::TFindEntry(std::shared_ptr<const String> directory, String name, TKind kind)
    : FDirectory(std::move(directory)), FName(std::move(name)), FKind(kind) {}

const TFindEntry::TStatus& TFindEntry::Status() const {
  if (!FStatus) TFindEntryReader::Read(*this, AT_FDCWD, Path().c_str());
  return *FStatus;
}

const TFindData& TFindEntry::FindData() const { return Status().Data; }

std::optional<TFileIdentity> TFindEntry::Identity() const {
  const TStatus& status = Status();
  if (!status.Found) return std::nullopt;
  return status.Identity;
}

bool NameOrderLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto fa = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto fb = static_cast<unsigned char>(FoldAscii(b[i]));
    if (fa != fb) return fa < fb;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

bool MatchesMask(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  constexpr auto none = std::string_view::npos;
  std::size_t n = 0, p = 0;
  std::size_t starPattern = none, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starName = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      n += CharacterLength(name, n);
      ++p;
    } else if (p < pattern.size() && FoldAscii(pattern[p]) == FoldAscii(name[n])) {
      ++p;
      ++n;
    } else if (starPattern != none) {
      // Let the last "*" take one more character and try the rest again.
      starName += CharacterLength(name, starName);
      n = starName;
      p = starPattern;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<TFindEntry> ListDirectory(const String& directory, std::string_view pattern) {
  std::vector<TFindEntry> entries;
  const auto prefix = std::make_shared<const String>(IncludeTrailingBackslash(directory));
  {
    TDirectoryStream stream(*prefix);
    if (!stream.IsOpen()) return entries;
    while (const dirent* e = stream.Next()) {
      if (!MatchesMask(e->d_name, pattern)) continue;
      TFindEntry::TKind kind = TFindEntry::TKind::ekUnknown;
      switch (e->d_type) {
        case DT_DIR: kind = TFindEntry::TKind::ekDirectory; break;
        case DT_REG: kind = TFindEntry::TKind::ekRegular; break;
        case DT_LNK:
        case DT_UNKNOWN: kind = TFindEntryReader::KindOfLink(stream.Descriptor(), e->d_name); break;
        default: kind = TFindEntry::TKind::ekOther; break;
      }
      entries.emplace_back(prefix, e->d_name, kind);
      // A walk needs to know every sub-directory's identity; read it while the directory is open.
      if (kind == TFindEntry::TKind::ekDirectory && !IsDotOrDotDot(e->d_name))
        TFindEntryReader::Read(entries.back(), stream.Descriptor(), e->d_name);
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const TFindEntry& a, const TFindEntry& b) { return NameOrderLess(a.Name(), b.Name()); });
  return entries;
}

std::optional<TFindEntry> LookupEntry(const String& path) {
  if (path.empty() || path.back() == '/') return std::nullopt;
  struct statx sx {};
  if (!ReadStatx(AT_FDCWD, path.c_str(), sx)) return std::nullopt;
  TFindEntry entry(std::make_shared<const String>(ExtractFilePath(path)), ExtractFileName(path), KindOfMode(sx.stx_mode));
  TFindEntryReader::Read(entry, AT_FDCWD, path.c_str());
  return entry;
}

uint32_t GetFileAttributes(const String& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  struct statx sx {};
  if (!ReadStatx(AT_FDCWD, path.c_str(), sx)) return INVALID_FILE_ATTRIBUTES;
  return AttributesOfStatx(sx, ExtractFileName(ExcludeTrailingBackslash(path)));
}

std::optional<TFileIdentity> GetFileIdentity(const String& path) {
  struct statx sx {};
  if (path.empty() || !ReadStatx(AT_FDCWD, path.c_str(), sx)) return std::nullopt;
  return IdentityOf(sx);
}

TFileTime UnixTimeToFileTime(int64_t seconds, uint32_t nanoseconds) {
  constexpr int64_t latest = static_cast<int64_t>(UINT64_MAX / TicksPerSecond) - SecondsFrom1601To1970 - 1;
  if (seconds < -SecondsFrom1601To1970 || seconds > latest) return TFileTime{};
  const auto since1601 = static_cast<uint64_t>(seconds + SecondsFrom1601To1970);
  return TFileTime::FromValue(since1601 * TicksPerSecond + nanoseconds / 100);
}

bool FileTimeToLocalFileTime(const TFileTime& fileTime, TFileTime& localFileTime) {
  const uint64_t value = fileTime.Value();
  const time_t unixSeconds = static_cast<time_t>(value / TicksPerSecond) - SecondsFrom1601To1970;
  struct tm local {};
  if (::localtime_r(&unixSeconds, &local) == nullptr) return false;
  const int64_t offset = static_cast<int64_t>(local.tm_gmtoff) * static_cast<int64_t>(TicksPerSecond);
  if (offset < 0 && value < static_cast<uint64_t>(-offset)) return false;
  if (offset > 0 && value > UINT64_MAX - static_cast<uint64_t>(offset)) return false;
  localFileTime = TFileTime::FromValue(value + static_cast<uint64_t>(offset));
  return true;
}

bool FileTimeToDosDateTime(const TFileTime& fileTime, uint16_t& fatDate, uint16_t& fatTime) {
  const time_t unixSeconds = static_cast<time_t>(fileTime.Value() / TicksPerSecond) - SecondsFrom1601To1970;
  struct tm t {};
  if (::gmtime_r(&unixSeconds, &t) == nullptr) return false;
  const int year = t.tm_year + 1900;
  if (year < 1980 || year > 2107) return false;
  fatDate = static_cast<uint16_t>(((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
  fatTime = static_cast<uint16_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
  return true;
}

String GetWindowsDirectoryPath() { return String(); }
String GetSystemDirectoryPath() { return String(); }

}  // namespace permora
