#pragma once
// Handlers that record what the search components report, and may answer through a reaction.

#include <functional>
#include <string>
#include <vector>

#include "search/SearchFile.h"

namespace permora::test {

struct TReport {
  TObject* Sender;
  String Name;
  TSearchFileData Data;
};

// The walker's OnFind.
struct TWalkRecorder {
  std::vector<TReport> Reports;
  std::function<void(const String& Name, bool& IgnoreSubDir, bool& Continue)> React;

  void Find(TObject* Sender, const String& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue) {
    Reports.push_back({Sender, Name, Data});
    if (React) React(Name, IgnoreSubDir, Continue);
  }
  TSearchDirEvent Event() { return TSearchDirEvent(this, &TWalkRecorder::Find); }
};

// The searcher's OnFind and OnFindDir.
struct TSearchRecorder {
  std::vector<TReport> Files;
  std::vector<TReport> Dirs;
  std::function<void(const String& Name, const TSearchFileData& Data, bool& Continue)> ReactFile;
  std::function<void(const String& Name, bool& Skip, bool& IgnoreSubDir)> ReactDir;

  void Find(TObject* Sender, const String& Name, const TSearchFileData& Data, bool& Continue) {
    Files.push_back({Sender, Name, Data});
    if (ReactFile) ReactFile(Name, Data, Continue);
  }
  void FindDir(TObject* Sender, const String& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir) {
    Dirs.push_back({Sender, Name, Data});
    if (ReactDir) ReactDir(Name, Skip, IgnoreSubDir);
  }
  TFindFileEvent FileEvent() { return TFindFileEvent(this, &TSearchRecorder::Find); }
  TFindDirEvent DirEvent() { return TFindDirEvent(this, &TSearchRecorder::FindDir); }
};

inline std::vector<String> NamesOf(const std::vector<TReport>& reports) {
  std::vector<String> names;
  for (const TReport& r : reports) names.push_back(r.Name);
  return names;
}

}  // namespace permora::test
