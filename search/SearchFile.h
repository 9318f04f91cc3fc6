#pragma once
// File search components: TSearchDir walks a directory tree breadth-first and reports the start
// directory and every sub-directory; TSearchFile reports every entry of one directory, or of a whole
// tree, whose name matches a pattern. Both report synchronously, on the caller's thread, before
// Search returns.

#include <cstdint>
#include <optional>
#include <ostream>

#include "platform/Classes.h"
#include "platform/DateUtils.h"
#include "platform/SystemDirectory.h"
#include "platform/TypInfo.h"

namespace permora {

class TSearchFileData;

// One value of a TSearchFileData. It reads like the plain value; the record fetches the entry's
// status from the file system the first time any of its values is read, so that entries nobody
// looks at cost no status read.
template <class T>
class TSearchFileValue {
 public:
  TSearchFileValue() = default;
  // A copy outside a record (`auto size = Data.Size;`) is the plain value, read now.
  TSearchFileValue(const TSearchFileValue& other) : FValue(static_cast<T>(other)) {}
  TSearchFileValue& operator=(const TSearchFileValue& other) { return *this = static_cast<T>(other); }
  TSearchFileValue& operator=(T value);

  operator T() const;

 private:
  friend class TSearchFileData;
  const TSearchFileData* FRecord = nullptr;  // null for a value standing alone
  mutable T FValue{};
};

template <class T>
std::ostream& operator<<(std::ostream& out, const TSearchFileValue<T>& value) {
  return out << static_cast<T>(value);
}

// What the search components report with every entry. When a validity flag is false its time
// carries no meaning.
class TSearchFileData {
 public:
  String LongName;
  String ShortName;  // the 8.3 alias; the long name when the entry has none
  TSearchFileValue<int64_t> Size;
  TSearchFileValue<bool> CreationTimeValid;
  TSearchFileValue<TDateTime> CreationTime;  // local time, as all three
  TSearchFileValue<bool> LastWriteTimeValid;
  TSearchFileValue<TDateTime> LastWriteTime;
  TSearchFileValue<bool> LastAccessTimeValid;
  TSearchFileValue<TDateTime> LastAccessTime;
  TSearchFileValue<bool> IsDirectory;
  TSearchFileValue<bool> IsReadOnly;
  TSearchFileValue<bool> IsHidden;
  TSearchFileValue<bool> IsSystem;
  TSearchFileValue<bool> ReservedFlag;  // always false
  TSearchFileValue<bool> IsArchive;

  // The empty record: empty names, size 0, every flag false.
  TSearchFileData();
  // The record of a listed entry; its status is read when a value is first asked for.
  explicit TSearchFileData(const TFindEntry& entry);
  // The record filled at once from an entry's data.
  explicit TSearchFileData(const TFindData& data);
  TSearchFileData(const TSearchFileData& other);
  TSearchFileData& operator=(const TSearchFileData& other);

 private:
  template <class T>
  friend class TSearchFileValue;
  friend void FillSearchFileData(const TFindData& findData, TSearchFileData& data);

  // Calls f(mine, theirs) for each value field, in field order.
  template <class F>
  void ForEachValue(const TSearchFileData& other, F f);
  void BindValues();
  void CopyValues(const TSearchFileData& other);
  // Reads the pending entry's status into the values.
  void Load() const;

  mutable std::optional<TFindEntry> FPending;
};

template <class T>
TSearchFileValue<T>& TSearchFileValue<T>::operator=(T value) {
  if (FRecord) FRecord->Load();
  FValue = value;
  return *this;
}

template <class T>
TSearchFileValue<T>::operator T() const {
  if (FRecord) FRecord->Load();
  return FValue;
}

// Fills everything after the names from an entry's data, in field order: size, the creation, last
// write and last access times, then the flags.
void FillSearchFileData(const TFindData& findData, TSearchFileData& data);

// A file time (UTC) as a local TDateTime, in 2-second steps; false, with DateTime untouched, when
// the time lies outside what a DOS date holds (1980-2107) or cannot be converted.
bool FindTimeToDateTime(const TFileTime& FindTime, TDateTime& DateTime);

// Sender, Name (the entry's absolute path), Data, then the answers.
using TSearchDirEvent =
    TMethodPointer<TObject*, const String&, const TSearchFileData&, bool& /*IgnoreSubDir*/, bool& /*Continue*/>;
using TFindFileEvent = TMethodPointer<TObject*, const String&, const TSearchFileData&, bool& /*Continue*/>;
using TFindDirEvent =
    TMethodPointer<TObject*, const String&, const TSearchFileData&, bool& /*Skip*/, bool& /*IgnoreSubDir*/>;

// Walks the tree below BaseDir breadth-first: OnFind gets the start directory, then each level's
// sub-directories in listing order. A handler can keep the walk from going below a directory
// (IgnoreSubDir) or stop it (Continue false, or EAbort). Symbolic links to directories are followed,
// but each directory is taken once only, so a link loop ends.
class TSearchDir : public TComponent {
 public:
  explicit TSearchDir(TComponent* AOwner);
  ~TSearchDir() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // True when the walk ran to its end; false when it did not start (already running, OnFind
  // unassigned, a start that does not exist) or was stopped.
  bool Search();

  // The directories still to be listed: what a stopped walk left, until the next Search.
  const TStringList& DirQueue() const { return FDirQueue; }
  bool Searching() const { return FSearching; }

 protected:
  virtual void DoFind(const String& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue);

 private:
  TStringList FDirQueue;

 public:
  String BaseDir;
  TSearchDirEvent OnFind;

 private:
  bool FSearching = false;

  class TTakenDirectories;
  void ReportBase(const String& base, TTakenDirectories& taken, bool& Continue);
  void ReportSubDirectories(const String& directory, TTakenDirectories& taken, bool& Continue);
  void Report(const String& path, const TSearchFileData& data, bool& Continue);
};

// Reports every entry whose name matches SearchName (empty: every entry) in Directory, or with
// Recursive in Directory and every directory below it, each directory first offered to OnFindDir.
class TSearchFile : public TComponent {
 public:
  explicit TSearchFile(TComponent* AOwner);
  ~TSearchFile() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // True when the search ran to its end (whether or not anything was found); false when it did not
  // start (already running, OnFind unassigned) or was stopped.
  bool Search();

  // The directories searched by the last Search, in search order.
  const TStringList& DirList() const { return FDirList; }
  TSearchDir* DirSearch() const { return FDirSearch; }
  bool Searching() const { return FSearching; }

  // The OnFind handler of the searcher's own walker.
  void SearchDirOnFind(TObject* Sender, const String& Name, const TSearchFileData& Data, bool& IgnoreSubDir,
                       bool& Continue);

 protected:
  virtual void DoFind(const String& Name, const TSearchFileData& Data, bool& Continue);
  virtual void DoFindDir(const String& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir);

 private:
  TSearchDir* FDirSearch;  // owned as a component: destroyed with the searcher
  TStringList FDirList;

 public:
  String Directory;
  bool Recursive = false;

 private:
  bool FSearching = false;

 public:
  String SearchName;
  TFindFileEvent OnFind;
  TFindDirEvent OnFindDir;

 private:
  void CollectDirectories();
  void SearchDirectory(const String& directory, std::string_view pattern, bool& Continue);
};

// The platform's Windows and system directories; empty here, where there are none.
String GetWindowsDirectory();
String GetSystemDirectory();

// Puts both components on the component palette and into the class registry.
void Register();
inline constexpr std::string_view SearchPalettePage = "Permora";

}  // namespace permora
