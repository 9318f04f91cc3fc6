#pragma once
// The directory service: listing a directory, looking up one path, attributes, file times and the
// time zone. Every operating-system call of these lives behind this interface, so that another
// system's backend can replace SystemDirectory.cpp without a change to its users.
//
// Names are byte strings and pass unchanged; they need not be valid UTF-8.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/SysUtils.h"

namespace permora {

// Attribute bits of an entry.
inline constexpr uint32_t faReadOnly = 0x01;
inline constexpr uint32_t faHidden = 0x02;
inline constexpr uint32_t faSysFile = 0x04;
inline constexpr uint32_t faDirectory = 0x10;
inline constexpr uint32_t faArchive = 0x20;
// What GetFileAttributes answers for a path that names nothing (its top bit is set).
inline constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// A point in time in 100-nanosecond units since 1601-01-01 (UTC, or local after conversion).
// Zero stands for a time the file system does not keep.
struct TFileTime {
  uint32_t dwLowDateTime = 0;
  uint32_t dwHighDateTime = 0;
  uint64_t Value() const { return (uint64_t{dwHighDateTime} << 32) | dwLowDateTime; }
  static TFileTime FromValue(uint64_t value) {
    return TFileTime{static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
  }
};

// The data of one entry, as a listing or a lookup gives it.
struct TFindData {
  uint32_t dwFileAttributes = 0;
  TFileTime ftCreationTime;
  TFileTime ftLastAccessTime;
  TFileTime ftLastWriteTime;
  uint32_t nFileSizeHigh = 0;
  uint32_t nFileSizeLow = 0;
  String cFileName;
  String cAlternateFileName;  // the 8.3 alias; there is none here, so always empty
};

// Which directory an entry is, whatever path reached it.
struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  friend auto operator<=>(const TFileIdentity&, const TFileIdentity&) = default;
};

// One entry of a listing. Its kind is known from the listing itself; the rest of its data (size,
// times, read-only) is read from the file system the first time somebody asks for it, so that a
// listing costs no status read per file.
class TFindEntry {
 public:
  enum class TKind : uint8_t { ekUnknown, ekDirectory, ekRegular, ekOther };

  // `directory` is the listed directory with its trailing separator.
  TFindEntry(std::shared_ptr<const String> directory, String name, TKind kind);

  const String& Name() const { return FName; }
  String Path() const { return *FDirectory + FName; }
  // A directory or a symbolic link to one.
  bool IsDirectory() const { return FKind == TKind::ekDirectory; }

  const TFindData& FindData() const;
  // Empty when the entry can no longer be found.
  std::optional<TFileIdentity> Identity() const;

 private:
  friend class TFindEntryReader;
  struct TStatus {
    bool Found = false;
    TFindData Data;
    TFileIdentity Identity;
  };
  const TStatus& Status() const;

  std::shared_ptr<const String> FDirectory;
  String FName;
  TKind FKind;
  mutable std::shared_ptr<const TStatus> FStatus;
};

// The entries of `directory` (with or without its trailing separator) whose names match `pattern`,
// "." and ".." included, sorted by name with ASCII letters folded to upper case, ties by bytes.
// A directory that cannot be opened has no entries. The directory is read in full and closed before
// this returns.
std::vector<TFindEntry> ListDirectory(const String& directory, std::string_view pattern);

// The entry that `path` names, or nothing: also for a path that ends in a separator.
std::optional<TFindEntry> LookupEntry(const String& path);

// The attribute bits of what `path` names, or INVALID_FILE_ATTRIBUTES.
uint32_t GetFileAttributes(const String& path);

// Which directory or file `path` names, following links; empty when it names nothing.
std::optional<TFileIdentity> GetFileIdentity(const String& path);

// A name against a pattern: "*" any run of characters, "?" one character, ASCII letters in either
// case; "*.*" matches every name.
bool MatchesMask(std::string_view name, std::string_view pattern);

// The listing order: names compared with ASCII letters folded to upper case, then by bytes.
bool NameOrderLess(std::string_view a, std::string_view b);

// A UTC file time to local time by the system's time-zone rules for that date; false when it
// cannot be converted.
bool FileTimeToLocalFileTime(const TFileTime& fileTime, TFileTime& localFileTime);
// A file time to a DOS date and time word (2-second steps); false outside 1980-2107.
bool FileTimeToDosDateTime(const TFileTime& fileTime, uint16_t& fatDate, uint16_t& fatTime);

// Seconds since 1970-01-01 UTC plus nanoseconds, as a file time (zero before 1601).
TFileTime UnixTimeToFileTime(int64_t seconds, uint32_t nanoseconds);

// The platform's Windows and system directories; this system has neither.
String GetWindowsDirectoryPath();
String GetSystemDirectoryPath();

}  // namespace permora
