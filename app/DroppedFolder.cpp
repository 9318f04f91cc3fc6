#include "app/DroppedFolder.h"

namespace permora {

namespace {
String WithoutTrailingSlashes(String path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}
}  // namespace

std::optional<String> DroppedFolderPath(const String& argument) {
  if (argument.size() > MaxPath) return std::nullopt;
  String path = WithoutTrailingSlashes(argument);
  if (path.empty()) return std::nullopt;
  const String last = ExtractFileName(path);
  if (last == "." || last == "..") path = WithoutTrailingSlashes(ExpandFileName(path));
  if (path.empty() || path.size() > MaxPath) return std::nullopt;
  return path;
}

}  // namespace permora
