#include "platform/qt/QtDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace permora {

namespace {

struct TDisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using TDisplayConnection = std::unique_ptr<Display, TDisplayCloser>;

TDisplayConnection OpenNamedDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  return TDisplayConnection(XOpenDisplay(name));
}

struct TFileDescriptor {
  int fd;
  ~TFileDescriptor() {
    if (fd >= 0) close(fd);
  }
};

bool WaylandSocketAccepts() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (!name || !*name) return false;
  std::string path = name;
  if (path.front() != '/') {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const TFileDescriptor socketFd{socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  if (socketFd.fd < 0) return false;
  return connect(socketFd.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

bool DisplayCanBeOpened() { return OpenNamedDisplay() != nullptr || WaylandSocketAccepts(); }

bool X11WindowManagerRunning() {
  const TDisplayConnection display = OpenNamedDisplay();
  if (!display) return false;
  const Atom check = XInternAtom(display.get(), "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display.get(), DefaultRootWindow(display.get()), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &count, &remaining, &data);
  const bool found = status == Success && type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  return found;
}

}  // namespace permora
