#pragma once
// Runs a program as a user would: its arguments, its environment, its standard input as text, its
// working directory; standard output and error are collected, and the exit status returned.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace permora::testing_support {

struct TProgramRun {
  std::vector<std::string> Arguments;         // [0] is the program's path
  std::map<std::string, std::string> Set;     // environment values set or replaced
  std::vector<std::string> Unset;             // environment values removed
  std::string Input;                          // standard input
  std::string WorkingDirectory;               // empty: the test's own
};

struct TProgramResult {
  int ExitStatus = -1;  // the exit code, or 128 + the signal that ended it
  std::string Output;
  std::string Errors;
};

// A unique scratch folder under /tmp, removed with everything in it.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "permora-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    // Folders a test made unwritable must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(FPath, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored)) std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                                                 std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(FPath, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

inline std::vector<std::string> EnvironmentFor(const TProgramRun& run) {
  std::map<std::string, std::string> values;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const auto equals = entry.find('=');
    if (equals != std::string::npos) values[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  for (const auto& name : run.Unset) values.erase(name);
  for (const auto& [name, value] : run.Set) values[name] = value;
  std::vector<std::string> environment;
  for (const auto& [name, value] : values) environment.push_back(name + "=" + value);
  return environment;
}

// Starts the program; its standard streams go to files in `streams`. Returns its process id.
inline pid_t StartProgram(const TProgramRun& run, const std::filesystem::path& streams) {
  const std::string input = (streams / "stdin").string();
  const std::string output = (streams / "stdout").string();
  const std::string errors = (streams / "stderr").string();
  WriteWholeFile(input, run.Input);
  std::vector<std::string> environment = EnvironmentFor(run);
  std::vector<char*> argv;
  for (const auto& a : run.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!run.WorkingDirectory.empty() && chdir(run.WorkingDirectory.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return pid;
}

inline int ExitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

inline TProgramResult CollectProgram(pid_t pid, const std::filesystem::path& streams) {
  int status = 0;
  waitpid(pid, &status, 0);
  return {ExitStatusOf(status), ReadWholeFile(streams / "stdout"), ReadWholeFile(streams / "stderr")};
}

inline TProgramResult RunProgram(const TProgramRun& run) {
  const TScratchFolder streams;
  return CollectProgram(StartProgram(run, streams.Path()), streams.Path());
}

}  // namespace permora::testing_support
