// Walks a tree with TSearchFile the way the program does (recursive, one pattern) and prints how
// fast it went and how much memory it took.
//   search_bench DIR [PATTERN] [--quiet]

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "search/SearchFile.h"

namespace {

struct TCounter {
  long Files = 0;
  void Find(permora::TObject*, const permora::String&, const permora::TSearchFileData&, bool&) { ++Files; }
};

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [PATTERN] [--quiet]\n", argv[0]);
    return 2;
  }
  const bool quiet = argc > 3 && std::strcmp(argv[3], "--quiet") == 0;
  permora::TSearchFile searcher(nullptr);
  TCounter counter;
  searcher.Directory = argv[1];
  searcher.SearchName = argc > 2 ? argv[2] : "*.jpg";
  searcher.Recursive = true;
  searcher.OnFind = permora::TFindFileEvent(&counter, &TCounter::Find);

  const auto start = std::chrono::steady_clock::now();
  const bool ran = searcher.Search();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!ran) return 1;
  if (!quiet) {
    std::printf("directories searched: %d\n", searcher.DirList().Count());
    std::printf("entries reported:     %ld in %.3f s = %.0f entries/s\n", counter.Files, seconds,
                seconds > 0 ? counter.Files / seconds : 0.0);
    std::printf("peak memory:          %ld KiB\n", PeakResidentKilobytes());
  }
  return 0;
}
