#include "platform/SysUtils.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace permora {

void Abort() { throw EAbort(); }

namespace {

String ReplaceFirstPlaceholder(std::string_view pattern, std::string_view value) {
  for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
      String result(pattern.substr(0, i));
      result += value;
      result += pattern.substr(i + 2);
      return result;
    }
  }
  return String(pattern);
}

// Length of the UTF-8 sequence that starts with `lead`, or 0 when `lead` cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

String FormatMessage(std::string_view pattern, std::string_view value) {
  return ReplaceFirstPlaceholder(pattern, value);
}

String FormatMessage(std::string_view pattern, int64_t value) {
  return ReplaceFirstPlaceholder(pattern, IntToStr(value));
}

String IntToStr(int64_t value) { return std::to_string(value); }

std::string_view LastCharacter(std::string_view s) {
  if (s.empty()) return s;
  std::size_t start = s.size() - 1;
  // Walk back over at most three continuation bytes to the lead byte.
  while (start > 0 && s.size() - start < 4 && IsContinuation(static_cast<unsigned char>(s[start]))) --start;
  const std::size_t length = SequenceLength(static_cast<unsigned char>(s[start]));
  if (length != s.size() - start) return s.substr(s.size() - 1);
  return s.substr(start);
}

String ErrorDisplayText(const String& message) {
  std::string_view last = LastCharacter(message);
  if (last.empty()) return message;
  // A multi-byte character always has a greater code than ".".
  if (static_cast<unsigned char>(last[0]) > static_cast<unsigned char>('.')) return message + ".";
  return message;
}

String DisplayableText(std::string_view s) {
  String out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = SequenceLength(lead);
    bool valid = length != 0 && i + length <= s.size();
    for (std::size_t k = 1; valid && k < length; ++k) valid = IsContinuation(static_cast<unsigned char>(s[i + k]));
    if (valid && length == 3) {
      const auto second = static_cast<unsigned char>(s[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0);
    }
    if (valid && length == 4) {
      const auto second = static_cast<unsigned char>(s[i + 1]);
      valid = !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    if (valid) {
      out.append(s.substr(i, length));
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

String ExtractFilePath(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? String() : String(path.substr(0, slash + 1));
}

String ExtractFileName(std::string_view path) {
  const auto slash = path.rfind('/');
  return String(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

String ExtractFileExt(std::string_view path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return String();
  return String(path.substr(dot));
}

String ChangeFileExt(std::string_view path, std::string_view extension) {
  const String ext = ExtractFileExt(path);
  String result(path.substr(0, path.size() - ext.size()));
  result += extension;
  return result;
}

String ExcludeTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return String(path);
}

String IncludeTrailingBackslash(std::string_view path) {
  String result(path);
  if (LastCharacter(path) != "/") result += '/';
  return result;
}

String GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return String();
    buffer.resize(buffer.size() * 2);
  }
  return String(buffer.data());
}

String ExpandFileName(std::string_view path) {
  if (path.empty()) return String();
  String absolute = path.front() == '/' ? String(path) : IncludeTrailingBackslash(GetCurrentDir()) + String(path);
  const bool trailingSlash = absolute.size() > 1 && absolute.back() == '/';
  std::vector<std::string_view> parts;
  std::string_view rest(absolute);
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  String result;
  for (const auto part : parts) {
    result += '/';
    result += part;
  }
  if (result.empty()) return "/";
  if (trailingSlash) result += '/';
  return result;
}

String LowerCaseAscii(std::string_view s) {
  String r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

String UpperCaseAscii(std::string_view s) {
  String r(s);
  for (auto& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

}  // namespace permora
