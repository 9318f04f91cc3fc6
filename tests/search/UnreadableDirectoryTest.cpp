// A directory that cannot be listed is passed over silently. Root lists every directory, so the
// checks run as an unprivileged user: the test starts this very program again under setpriv with a
// filter that selects the unprivileged half only.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "search/Recorder.h"
#include "search/SearchFile.h"
#include "support/TempTree.h"

namespace permora {
namespace {

using test::NamesOf;

constexpr const char* TreeVariable = "PERMORA_UNREADABLE_TREE";
constexpr const char* ChildTest = "UnprivilegedChild.SearchesPastAnUnreadableDirectory";

// root -> {a.jpg, closed (mode 000) -> {c.jpg, sub}, open -> {b.jpg, inner}}
void BuildTree(const test::TTempTree& tree) {
  tree.File("a.jpg");
  tree.File("closed/c.jpg");
  tree.Dir("closed/sub");
  tree.File("open/b.jpg");
  tree.Dir("open/inner");
  ASSERT_EQ(::chmod(tree.Path("closed").c_str(), 0), 0);
}

void CheckSearchesPastTheClosedDirectory(const String& root) {
  const auto P = [&](const String& relative) { return relative.empty() ? root : root + "/" + relative; };
  ASSERT_FALSE(ListDirectory(P("closed"), "*.*").size()) << "the closed directory can be read: privileged?";

  TSearchDir walker(nullptr);
  test::TWalkRecorder walk;
  walker.OnFind = walk.Event();
  walker.BaseDir = root;
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(walk.Reports), (std::vector<String>{P(""), P("closed"), P("open"), P("open/inner")}));

  TSearchFile searcher(nullptr);
  test::TSearchRecorder search;
  searcher.OnFind = search.FileEvent();
  searcher.OnFindDir = search.DirEvent();
  searcher.Directory = root;
  searcher.Recursive = true;
  searcher.SearchName = "*.jpg";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(search.Files), (std::vector<String>{P("a.jpg"), P("open/b.jpg")}));
  EXPECT_EQ(NamesOf(search.Dirs), (std::vector<String>{P(""), P("closed"), P("open"), P("open/inner")}));

  search.Files.clear();
  searcher.Recursive = false;
  searcher.Directory = P("closed");
  EXPECT_TRUE(searcher.Search());
  EXPECT_TRUE(search.Files.empty());
}

TEST(UnprivilegedChild, SearchesPastAnUnreadableDirectory) {
  const char* root = std::getenv(TreeVariable);
  if (root == nullptr) GTEST_SKIP() << "runs only when UnreadableDirectory.IsPassedOverSilently starts it";
  ASSERT_NE(::geteuid(), 0u);
  CheckSearchesPastTheClosedDirectory(root);
}

String OwnExecutable() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? String(buffer, static_cast<std::size_t>(n)) : String();
}

// Runs a command and returns its exit status and what it printed.
std::pair<int, String> RunCommand(const String& command) {
  String output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return {-1, output};
  char chunk[4096];
  while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, n);
  return {::pclose(pipe), output};
}

TEST(UnreadableDirectory, IsPassedOverSilently) {
  test::TTempTree tree;
  BuildTree(tree);
  if (::geteuid() != 0) {
    CheckSearchesPastTheClosedDirectory(tree.Root());
    return;
  }
  if (RunCommand("setpriv --reuid=65534 --regid=65534 --clear-groups true").first != 0)
    GTEST_SKIP() << "cannot drop privileges with setpriv: the unreadable-directory case is not checked";
  ::setenv(TreeVariable, tree.Root().c_str(), 1);
  const auto [status, output] = RunCommand("setpriv --reuid=65534 --regid=65534 --clear-groups '" + OwnExecutable() +
                                    "' --gtest_filter=" + ChildTest);
  ::unsetenv(TreeVariable);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test."), String::npos) << output;
  EXPECT_EQ(output.find("SKIPPED"), String::npos) << output;
}

}  // namespace
}  // namespace permora
