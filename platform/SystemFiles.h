#pragma once
// Every operating-system call that opens, reads or writes a file goes through this interface, so
// that another system's backend can take its place without a change above the platform.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/SysUtils.h"

namespace permora {

class ISystemFiles {
 public:
  virtual ~ISystemFiles() = default;

  // The whole content of a regular file (or of the regular file a link leads to). Anything else
  // (a directory, a FIFO, a socket, a device) and a file that cannot be opened raise EFOpenError
  // "ファイル %s は開けません" before anything is read; a failing read raises EReadError.
  virtual std::vector<uint8_t> ReadRegularFile(const String& fileName) const = 0;

  // Writes content as the file fileName, replacing a file of that name: a temporary file in the
  // same folder first, then renamed over the name, so the name never holds a half-written file.
  // Any failure raises EFCreateError "ファイル %s を作成できません" and leaves no temporary file.
  virtual void WriteFileReplacing(const String& fileName, std::span<const uint8_t> content) const = 0;
};

// The installed file services: the POSIX ones unless another backend installed its own.
const ISystemFiles& SystemFiles();
// Installs file services (null: the POSIX ones again). Not owned.
void SetSystemFiles(const ISystemFiles* files);

}  // namespace permora
