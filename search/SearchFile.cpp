#include "search/SearchFile.h"

#include <set>

namespace permora {

namespace {

// Sets a component's busy flag for the length of one Search, however it ends.
class TSearchingScope {
 public:
  explicit TSearchingScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TSearchingScope() { FFlag = false; }
  TSearchingScope(const TSearchingScope&) = delete;
  TSearchingScope& operator=(const TSearchingScope&) = delete;

 private:
  bool& FFlag;
};

bool IsDotOrDotDot(const String& name) { return name == "." || name == ".."; }

bool IsSubDirEntry(const TFindEntry& entry) { return entry.IsDirectory() && !IsDotOrDotDot(entry.Name()); }

constexpr std::string_view EveryName = "*.*";

// A path longer than the system takes could not be opened by whoever receives it: it is passed over.
bool FitsPathLimit(const String& path) { return path.size() <= MaxPath; }

// A time that cannot be converted leaves its field as it was, with the flag false.
void ConvertTime(const TFileTime& fileTime, TSearchFileValue<bool>& valid, TSearchFileValue<TDateTime>& value) {
  TDateTime converted = 0;
  valid = FindTimeToDateTime(fileTime, converted);
  if (valid) value = converted;
}

}  // namespace

// ---- TSearchFileData -------------------------------------------------------------------------------

template <class F>
void TSearchFileData::ForEachValue(const TSearchFileData& other, F f) {
  f(Size, other.Size);
  f(CreationTimeValid, other.CreationTimeValid);
  f(CreationTime, other.CreationTime);
  f(LastWriteTimeValid, other.LastWriteTimeValid);
  f(LastWriteTime, other.LastWriteTime);
  f(LastAccessTimeValid, other.LastAccessTimeValid);
  f(LastAccessTime, other.LastAccessTime);
  f(IsDirectory, other.IsDirectory);
  f(IsReadOnly, other.IsReadOnly);
  f(IsHidden, other.IsHidden);
  f(IsSystem, other.IsSystem);
  f(ReservedFlag, other.ReservedFlag);
  f(IsArchive, other.IsArchive);
}

void TSearchFileData::BindValues() {
  ForEachValue(*this, [this](auto& mine, const auto&) { mine.FRecord = this; });
}

void TSearchFileData::CopyValues(const TSearchFileData& other) {
  ForEachValue(other, [](auto& mine, const auto& theirs) { mine.FValue = theirs.FValue; });
}

TSearchFileData::TSearchFileData() { BindValues(); }

TSearchFileData::TSearchFileData(const TFindEntry& entry) : LongName(entry.Name()), ShortName(entry.Name()) {
  BindValues();
  FPending = entry;
}

TSearchFileData::TSearchFileData(const TFindData& data) {
  BindValues();
  FillSearchFileData(data, *this);
}

TSearchFileData::TSearchFileData(const TSearchFileData& other)
    : LongName(other.LongName), ShortName(other.ShortName), FPending(other.FPending) {
  BindValues();
  CopyValues(other);
}

TSearchFileData& TSearchFileData::operator=(const TSearchFileData& other) {
  if (this == &other) return *this;
  LongName = other.LongName;
  ShortName = other.ShortName;
  FPending = other.FPending;
  CopyValues(other);
  return *this;
}

void TSearchFileData::Load() const {
  if (!FPending) return;
  // Taken out first: the fill reads the values through this record again.
  const TFindEntry entry = std::move(*FPending);
  FPending.reset();
  FillSearchFileData(entry.FindData(), const_cast<TSearchFileData&>(*this));
}

void FillSearchFileData(const TFindData& findData, TSearchFileData& data) {
  data.FPending.reset();
  data.LongName = findData.cFileName;
  data.ShortName = findData.cAlternateFileName.empty() ? findData.cFileName : findData.cAlternateFileName;
  data.Size = static_cast<int64_t>((uint64_t{findData.nFileSizeHigh} << 32) | findData.nFileSizeLow);
  ConvertTime(findData.ftCreationTime, data.CreationTimeValid, data.CreationTime);
  ConvertTime(findData.ftLastWriteTime, data.LastWriteTimeValid, data.LastWriteTime);
  ConvertTime(findData.ftLastAccessTime, data.LastAccessTimeValid, data.LastAccessTime);
  const uint32_t attributes = findData.dwFileAttributes;
  data.IsDirectory = (attributes & faDirectory) != 0;
  data.IsReadOnly = (attributes & faReadOnly) != 0;
  data.IsHidden = (attributes & faHidden) != 0;
  data.IsSystem = (attributes & faSysFile) != 0;
  data.ReservedFlag = false;
  data.IsArchive = (attributes & faArchive) != 0;
}

bool FindTimeToDateTime(const TFileTime& FindTime, TDateTime& DateTime) {
  TFileTime local;
  uint16_t fatDate = 0, fatTime = 0;
  if (!FileTimeToLocalFileTime(FindTime, local) || !FileTimeToDosDateTime(local, fatDate, fatTime)) return false;
  try {
    DateTime = FileDateToDateTime(static_cast<int32_t>((uint32_t{fatDate} << 16) | fatTime));
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

// ---- TSearchDir ------------------------------------------------------------------------------------

// The directories a walk has reported, by identity, so that none is reported twice.
class TSearchDir::TTakenDirectories {
 public:
  // False when the directory was taken before; a directory whose identity cannot be read is taken.
  bool Take(const std::optional<TFileIdentity>& identity) {
    return !identity || FTaken.insert(*identity).second;
  }

 private:
  std::set<TFileIdentity> FTaken;
};

TSearchDir::TSearchDir(TComponent* AOwner) : TComponent(AOwner) {}

TSearchDir::~TSearchDir() = default;

const TClassInfo& TSearchDir::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TSearchDir", &TComponent::StaticClassInfo(),
      {
          p::Str<TSearchDir>(
              "BaseDir", [](const TSearchDir& s) { return s.BaseDir; },
              [](TSearchDir& s, const String& v) { s.BaseDir = v; }, String()),
          p::Event<TSearchDir, TSearchDirEvent>(
              "OnFind", &TSearchDir::OnFind, [](TSearchDir& s, const TSearchDirEvent& e) { s.OnFind = e; }),
      },
      p::ComponentFactory<TSearchDir>());
  return info;
}

bool TSearchDir::Search() {
  if (FSearching || !OnFind) return false;
  // Everything below works on the base as expanded now, whatever a handler does to BaseDir.
  const String base = ExpandFileName(BaseDir);
  if (GetFileAttributes(base) & 0x80000000u) return false;
  TSearchingScope busy(FSearching);
  FDirQueue.Clear();
  bool Continue = true;
  TTakenDirectories taken;
  try {
    ReportBase(base, taken, Continue);
    while (FDirQueue.Count() > 0) {
      const String directory = FDirQueue.Strings(0);
      FDirQueue.Delete(0);
      ReportSubDirectories(IncludeTrailingBackslash(directory), taken, Continue);
    }
  } catch (const EAbort&) {
    return false;
  }
  return true;
}

void TSearchDir::ReportBase(const String& base, TTakenDirectories& taken, bool& Continue) {
  taken.Take(GetFileIdentity(base));
  // A path that ends in a separator (the root) is found as no entry: it is reported with the empty record.
  const std::optional<TFindEntry> entry = LookupEntry(base);
  Report(base, entry ? TSearchFileData(*entry) : TSearchFileData(), Continue);
}

void TSearchDir::ReportSubDirectories(const String& directory, TTakenDirectories& taken, bool& Continue) {
  for (const TFindEntry& entry : ListDirectory(directory, EveryName)) {
    if (!IsSubDirEntry(entry)) continue;
    const String subPath = directory + entry.Name();
    if (!FitsPathLimit(subPath) || !taken.Take(entry.Identity())) continue;
    Report(subPath, TSearchFileData(entry), Continue);
  }
}

void TSearchDir::Report(const String& path, const TSearchFileData& data, bool& Continue) {
  bool IgnoreSubDir = false;
  DoFind(path, data, IgnoreSubDir, Continue);
  if (!Continue) Abort();
  if (!IgnoreSubDir) FDirQueue.Add(path);
}

void TSearchDir::DoFind(const String& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue) {
  if (!OnFind) return;
  const TSearchFileData copy(Data);
  OnFind(this, Name, copy, IgnoreSubDir, Continue);
}

// ---- TSearchFile -----------------------------------------------------------------------------------

TSearchFile::TSearchFile(TComponent* AOwner) : TComponent(AOwner), FDirSearch(new TSearchDir(this)) {
  FDirSearch->OnFind = TSearchDirEvent(this, &TSearchFile::SearchDirOnFind);
}

TSearchFile::~TSearchFile() = default;

const TClassInfo& TSearchFile::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TSearchFile", &TComponent::StaticClassInfo(),
      {
          p::Str<TSearchFile>(
              "Directory", [](const TSearchFile& s) { return s.Directory; },
              [](TSearchFile& s, const String& v) { s.Directory = v; }, String()),
          p::Boolean<TSearchFile>(
              "Recursive", [](const TSearchFile& s) { return s.Recursive; },
              [](TSearchFile& s, bool v) { s.Recursive = v; }, false),
          p::Str<TSearchFile>(
              "SearchName", [](const TSearchFile& s) { return s.SearchName; },
              [](TSearchFile& s, const String& v) { s.SearchName = v; }, String()),
          p::Event<TSearchFile, TFindFileEvent>(
              "OnFind", &TSearchFile::OnFind, [](TSearchFile& s, const TFindFileEvent& e) { s.OnFind = e; }),
          p::Event<TSearchFile, TFindDirEvent>(
              "OnFindDir", &TSearchFile::OnFindDir, [](TSearchFile& s, const TFindDirEvent& e) { s.OnFindDir = e; }),
      },
      p::ComponentFactory<TSearchFile>());
  return info;
}

bool TSearchFile::Search() {
  if (FSearching || !OnFind) return false;
  TSearchingScope busy(FSearching);
  FDirList.Clear();
  bool Continue = true;
  CollectDirectories();
  const bool everyName = SearchName.empty();
  const int count = FDirList.Count();
  try {
    for (int i = 0; i < count; ++i) {
      const String directory = FDirList.Strings(i);
      // A pattern changed by a handler takes effect from the next directory on.
      SearchDirectory(directory, everyName ? EveryName : std::string_view(SearchName), Continue);
    }
  } catch (const EAbort&) {
    return false;
  }
  return true;
}

void TSearchFile::CollectDirectories() {
  if (Recursive) {
    FDirSearch->BaseDir = Directory;
    // A walk stopped by an OnFindDir handler ends the collection only: what it found is searched.
    FDirSearch->Search();
    return;
  }
  const String directory = ExpandFileName(Directory);
  // An empty Directory names no directory; searching "/" instead would be a surprise.
  if (!directory.empty()) FDirList.Add(directory);
}

void TSearchFile::SearchDirectory(const String& directory, std::string_view pattern, bool& Continue) {
  const String prefix = IncludeTrailingBackslash(directory);
  for (const TFindEntry& entry : ListDirectory(prefix, pattern)) {
    if (IsDotOrDotDot(entry.Name())) continue;
    const String path = prefix + entry.Name();
    if (!FitsPathLimit(path)) continue;
    DoFind(path, TSearchFileData(entry), Continue);
    if (!Continue) Abort();
  }
}

void TSearchFile::SearchDirOnFind(TObject*, const String& Name, const TSearchFileData& Data, bool& IgnoreSubDir,
                                  bool&) {
  bool Skip = false;
  // The walker's IgnoreSubDir is handed on, so that OnFindDir can keep the walk out of a directory.
  DoFindDir(Name, Data, Skip, IgnoreSubDir);
  if (!Skip) FDirList.Add(Name);
}

void TSearchFile::DoFind(const String& Name, const TSearchFileData& Data, bool& Continue) {
  if (!OnFind) return;
  const TSearchFileData copy(Data);
  OnFind(this, Name, copy, Continue);
}

void TSearchFile::DoFindDir(const String& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir) {
  if (!OnFindDir) return;
  const TSearchFileData copy(Data);
  OnFindDir(this, Name, copy, Skip, IgnoreSubDir);
}

// ---- Unit functions --------------------------------------------------------------------------------

String GetWindowsDirectory() { return GetWindowsDirectoryPath(); }
String GetSystemDirectory() { return GetSystemDirectoryPath(); }

void Register() {
  RegisterComponents(String(SearchPalettePage), {&TSearchDir::StaticClassInfo(), &TSearchFile::StaticClassInfo()});
}

}  // namespace permora
