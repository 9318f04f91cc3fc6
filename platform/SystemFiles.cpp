#include "platform/SystemFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace permora {
namespace {

// Closes its descriptor when it goes.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : FFd(fd) {}
  ~TFileDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return FFd; }
  bool Valid() const { return FFd >= 0; }
  // Closes now and tells whether the close succeeded (a late write error shows here).
  bool Close() {
    const int fd = FFd;
    FFd = -1;
    return ::close(fd) == 0;
  }

 private:
  int FFd;
};

// Removes the temporary file unless it was renamed into place.
class TTemporaryName {
 public:
  explicit TTemporaryName(String name) : FName(std::move(name)) {}
  ~TTemporaryName() {
    if (!FKept) ::unlink(FName.c_str());
  }
  TTemporaryName(const TTemporaryName&) = delete;
  TTemporaryName& operator=(const TTemporaryName&) = delete;
  const String& Name() const { return FName; }
  void Keep() { FKept = true; }

 private:
  String FName;
  bool FKept = false;
};

[[noreturn]] void RaiseOpenError(const String& fileName) {
  throw EFOpenError(FormatMessage(messages::FileOpen, DisplayableText(fileName)));
}

[[noreturn]] void RaiseCreateError(const String& fileName) {
  throw EFCreateError(FormatMessage(messages::FileCreate, DisplayableText(fileName)));
}

bool WriteAll(int fd, std::span<const uint8_t> content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A name in the target's folder that no other writer uses: the process id and a counter keep
// concurrent writers apart, and O_EXCL refuses a name that exists anyway.
String TemporaryNameFor(const String& fileName, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return ExtractFilePath(fileName) + ".permora-" + IntToStr(::getpid()) + "-" + IntToStr(counter++) + "-" +
         IntToStr(attempt) + ".tmp";
}

TFileDescriptor CreateTemporary(const String& fileName, String& temporaryName) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporaryName = TemporaryNameFor(fileName, attempt);
    const int fd = ::open(temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return TFileDescriptor(fd);
  }
  return TFileDescriptor(-1);
}

class TPosixFiles : public ISystemFiles {
 public:
  std::vector<uint8_t> ReadRegularFile(const String& fileName) const override {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is checked before any read.
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) RaiseOpenError(fileName);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) RaiseOpenError(fileName);
    std::vector<uint8_t> content;
    content.reserve(static_cast<std::size_t>(status.st_size));
    uint8_t chunk[65536];
    for (;;) {
      const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw EReadError(String(messages::ReadError));
      if (n == 0) break;
      content.insert(content.end(), chunk, chunk + n);
    }
    return content;
  }

  void WriteFileReplacing(const String& fileName, std::span<const uint8_t> content) const override {
    String temporaryName;
    TFileDescriptor file = CreateTemporary(fileName, temporaryName);
    if (!file.Valid()) RaiseCreateError(fileName);
    TTemporaryName temporary(temporaryName);
    if (!WriteAll(file.Get(), content) || ::fsync(file.Get()) != 0 || !file.Close()) RaiseCreateError(fileName);
    if (::rename(temporary.Name().c_str(), fileName.c_str()) != 0) RaiseCreateError(fileName);
    temporary.Keep();
  }
};

const ISystemFiles* gSystemFiles = nullptr;

}  // namespace

const ISystemFiles& SystemFiles() {
  static const TPosixFiles posix;
  return gSystemFiles ? *gSystemFiles : posix;
}

void SetSystemFiles(const ISystemFiles* files) { gSystemFiles = files; }

}  // namespace permora
