#pragma once
// The platform's exception family and its string and path functions.
// Strings are UTF-8 byte strings; paths use "/" as their separator.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace permora {

using String = std::string;

// Every failure of the platform and the program is an Exception carrying its exact message.
class Exception : public std::exception {
 public:
  explicit Exception(String message) : FMessage(std::move(message)) {}
  const String& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  String FMessage;
};

// The silent stop: it ends an operation without being shown to anybody.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};
[[noreturn]] void Abort();

class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
// Raised by Assign/AssignTo when two persistent classes cannot take each other's values.
class EAssignError : public EConvertError { using EConvertError::EConvertError; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EJPEG : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
// A layout file that cannot be read; the message names the line.
class ELayoutError : public Exception { using Exception::Exception; };

// The message texts that several parts of the platform raise.
namespace messages {
inline constexpr std::string_view UnknownExtension = "拡張子 .%s の画像形式は処理できません";
inline constexpr std::string_view FileOpen = "ファイル %s は開けません";
inline constexpr std::string_view FileCreate = "ファイル %s を作成できません";
inline constexpr std::string_view InvalidBitmap = "ビットマップイメージが不正です";
inline constexpr std::string_view ReadError = "ストリームからの読み込みエラー";
inline constexpr std::string_view JPEGError = "JPEG エラー #%d";
inline constexpr std::string_view AssignError = "%s を %s に代入できません";
}  // namespace messages

// Replaces the first "%s" or "%d" of a message template with `value`.
String FormatMessage(std::string_view pattern, std::string_view value);
String FormatMessage(std::string_view pattern, int64_t value);

// What the application's error display shows: the message, with "." appended when the
// message's last character has a greater code than ".".
String ErrorDisplayText(const String& message);

String IntToStr(int64_t value);

// The last UTF-8 character of s (empty for an empty string); a trailing partial sequence counts as
// one character.
std::string_view LastCharacter(std::string_view s);
// For showing a name: invalid UTF-8 bytes become U+FFFD; the name itself is never changed.
String DisplayableText(std::string_view s);

String ExtractFilePath(std::string_view path);   // up to and including the last "/"
String ExtractFileName(std::string_view path);   // after the last "/"
String ExtractFileExt(std::string_view path);    // from the last "." of the name on, "" when none
String ChangeFileExt(std::string_view path, std::string_view extension);
String ExcludeTrailingBackslash(std::string_view path);  // one trailing "/" removed
String IncludeTrailingBackslash(std::string_view path);  // "/" added unless the last character is one
String ExpandFileName(std::string_view path);   // absolute, "." and ".." resolved, "//" collapsed
String GetCurrentDir();
String LowerCaseAscii(std::string_view s);
String UpperCaseAscii(std::string_view s);

// The platform's path limit, in bytes, terminator excluded.
inline constexpr std::size_t MaxPath = 4095;

}  // namespace permora
