#include "platform/LayoutFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/Graphics.h"
#include "platform/TypInfo.h"

namespace permora {

namespace {

// ---- Text helpers --------------------------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsIdentifierStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentifierPart(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// The end of the identifier that starts at pos; pos itself when none starts there.
std::size_t ScanIdentifier(std::string_view s, std::size_t pos) {
  if (pos >= s.size() || !IsIdentifierStart(s[pos])) return pos;
  std::size_t end = pos + 1;
  while (end < s.size() && IsIdentifierPart(s[end])) ++end;
  return end;
}

bool IsIdentifier(std::string_view s) { return !s.empty() && ScanIdentifier(s, 0) == s.size(); }

// Quotes user text for a message, its invalid bytes made displayable.
String Quoted(std::string_view s) { return "'" + DisplayableText(s) + "'"; }

// The length of the well-formed UTF-8 sequence at s[i], or 0 when none starts there.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return length;
}

// Printable characters go between quotes ('' for a quote); control characters (C0, DEL, C1) and
// bytes that are not UTF-8 are written as #$XX, so that any byte string survives unchanged.
String QuoteString(std::string_view s) {
  static constexpr char hex[] = "0123456789ABCDEF";
  String out;
  bool open = false;
  const auto openQuote = [&] {
    if (!open) out += '\'';
    open = true;
  };
  const auto closeQuote = [&] {
    if (open) out += '\'';
    open = false;
  };
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c < 0x7F) {
      openQuote();
      out += c == '\'' ? "''" : String(1, static_cast<char>(c));
      ++i;
      continue;
    }
    const std::size_t length = c >= 0x80 ? Utf8SequenceAt(s, i) : 0;
    const bool c1Control = length == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
    if (length > 0 && !c1Control) {
      openQuote();
      out.append(s.substr(i, length));
      i += length;
      continue;
    }
    closeQuote();
    out += "#$";
    out += hex[c >> 4];
    out += hex[c & 0xF];
    ++i;
  }
  closeQuote();
  return out.empty() ? String("''") : out;
}

// ---- The parsed form of a layout text --------------------------------------------------------------

enum class TValueKind { Identifier, Integer, HexNumber, String, Set, Data };

struct TLayoutValue {
  TValueKind Kind = TValueKind::Identifier;
  String Text;                      // the token; for a string its decoded bytes
  std::vector<String> Items;        // a set's elements, or the lines of picture data
};

struct TLayoutProperty {
  int Line = 0;
  std::vector<String> Path;         // "Font.Color" is {"Font", "Color"}
  TLayoutValue Value;
  String PathText() const {
    String s;
    for (const String& part : Path) s += (s.empty() ? "" : ".") + part;
    return s;
  }
};

struct TLayoutObject {
  int Line = 0;
  String Name;
  String ClassName;
  std::vector<TLayoutProperty> Properties;
  std::vector<TLayoutObject> Children;
};

[[noreturn]] void FailAt(const String& source, int line, const String& what) {
  throw ELayoutError(source + ":" + IntToStr(line) + ": " + what);
}

// ---- Parser: text to objects, before anything is created ------------------------------------------

class TLayoutParser {
 public:
  TLayoutParser(std::string_view text, const String& source) : FSource(source) { SplitLines(text); }

  TLayoutObject Parse() {
    int line = 0;
    std::string_view text;
    if (!NextLine(line, text)) Fail(static_cast<int>(std::max<std::size_t>(FLines.size(), 1)), "the layout holds no object");
    if (!IsObjectLine(text)) Fail(line, "expected 'object Name: TClass'");
    TLayoutObject root = ParseObject(line, text);
    if (NextLine(line, text)) Fail(line, "text after the end of the root object");
    return root;
  }

 private:
  void SplitLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      FLines.push_back(line);
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  }

  // The next line that is not blank, trimmed; false at the end of the text.
  bool NextLine(int& number, std::string_view& text) {
    while (FNext < FLines.size()) {
      text = Trim(FLines[FNext++]);
      number = static_cast<int>(FNext);
      if (!text.empty()) return true;
    }
    return false;
  }

  [[noreturn]] void Fail(int line, const String& what) const { FailAt(FSource, line, what); }

  static bool IsObjectLine(std::string_view text) {
    return text.starts_with("object") && (text.size() == 6 || IsBlank(text[6]));
  }

  TLayoutObject ParseObject(int line, std::string_view header) {
    TLayoutObject object;
    object.Line = line;
    ParseObjectHeader(line, header, object);
    int number = 0;
    std::string_view text;
    while (true) {
      if (!NextLine(number, text)) Fail(line, "object " + object.Name + " is not closed by 'end'");
      if (text == "end") return object;
      if (IsObjectLine(text)) {
        object.Children.push_back(ParseObject(number, text));
        continue;
      }
      if (!object.Children.empty()) Fail(number, "property lines come before the objects of a block");
      object.Properties.push_back(ParseProperty(number, text));
    }
  }

  void ParseObjectHeader(int line, std::string_view header, TLayoutObject& object) {
    std::string_view rest = Trim(header.substr(6));
    const std::size_t nameEnd = ScanIdentifier(rest, 0);
    std::string_view after = Trim(rest.substr(nameEnd));
    if (nameEnd == 0 || after.empty() || after.front() != ':') Fail(line, "expected 'object Name: TClass'");
    const std::string_view className = Trim(after.substr(1));
    if (!IsIdentifier(className)) Fail(line, "expected 'object Name: TClass'");
    object.Name = String(rest.substr(0, nameEnd));
    object.ClassName = String(className);
  }

  TLayoutProperty ParseProperty(int line, std::string_view text) {
    TLayoutProperty property;
    property.Line = line;
    std::size_t pos = 0;
    while (true) {
      const std::size_t end = ScanIdentifier(text, pos);
      if (end == pos) Fail(line, "expected a property, 'object' or 'end'");
      property.Path.emplace_back(text.substr(pos, end - pos));
      pos = end;
      if (pos < text.size() && text[pos] == '.') {
        ++pos;
        continue;
      }
      break;
    }
    const std::string_view rest = Trim(text.substr(pos));
    if (rest.empty() || rest.front() != '=') Fail(line, "expected '=' after " + property.PathText());
    const std::string_view valueText = Trim(rest.substr(1));
    if (valueText.empty()) Fail(line, "no value for " + property.PathText());
    property.Value = ParseValue(line, valueText, property.PathText());
    return property;
  }

  TLayoutValue ParseValue(int line, std::string_view text, const String& what) {
    TLayoutValue value;
    std::size_t end = 0;
    const char first = text.front();
    if (first == '\'' || first == '#') {
      value.Kind = TValueKind::String;
      end = ParseString(line, text, value.Text);
    } else if (first == '[') {
      value.Kind = TValueKind::Set;
      end = ParseSet(line, text, value.Items);
    } else if (first == '{') {
      if (!Trim(text.substr(1)).empty()) Fail(line, "picture data starts on the line after '{'");
      value.Kind = TValueKind::Data;
      value.Items = ParseData(line, what);
      return value;
    } else if (first == '-' || IsDigit(first)) {
      value.Kind = TValueKind::Integer;
      end = 1;
      while (end < text.size() && IsDigit(text[end])) ++end;
      if (first == '-' && end == 1) Fail(line, "expected digits after '-'");
    } else if (first == '$') {
      value.Kind = TValueKind::HexNumber;
      end = 1;
      while (end < text.size() && IsHexDigit(text[end])) ++end;
      if (end == 1) Fail(line, "expected hex digits after '$'");
    } else if (IsIdentifierStart(first)) {
      value.Kind = TValueKind::Identifier;
      end = ScanIdentifier(text, 0);
    } else {
      Fail(line, "unexpected value " + Quoted(text) + " for " + what);
    }
    if (value.Kind != TValueKind::String) value.Text = String(text.substr(0, end));
    if (!Trim(text.substr(end)).empty()) Fail(line, "unexpected text after the value: " + Quoted(Trim(text.substr(end))));
    return value;
  }

  // Quoted parts and #$XX byte codes, written without space between them.
  std::size_t ParseString(int line, std::string_view text, String& value) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] == '\'') {
        ++i;
        while (true) {
          if (i >= text.size()) Fail(line, "unterminated string");
          if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
              value += '\'';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          value += text[i++];
        }
      } else if (text[i] == '#') {
        if (i + 3 >= text.size() || text[i + 1] != '$' || !IsHexDigit(text[i + 2]) || !IsHexDigit(text[i + 3]))
          Fail(line, "a byte in a string is written #$ and two hex digits");
        value += static_cast<char>(HexDigitValue(text[i + 2]) * 16 + HexDigitValue(text[i + 3]));
        i += 4;
      } else {
        break;
      }
    }
    return i;
  }

  std::size_t ParseSet(int line, std::string_view text, std::vector<String>& elements) {
    std::size_t i = 1;
    const auto skipBlanks = [&] {
      while (i < text.size() && IsBlank(text[i])) ++i;
    };
    skipBlanks();
    if (i < text.size() && text[i] == ']') return i + 1;
    while (true) {
      skipBlanks();
      const std::size_t end = ScanIdentifier(text, i);
      if (end == i) {
        if (i >= text.size()) Fail(line, "unterminated set: expected ']'");
        Fail(line, "expected an element name in the set");
      }
      elements.emplace_back(text.substr(i, end - i));
      i = end;
      skipBlanks();
      if (i >= text.size()) Fail(line, "unterminated set: expected ']'");
      if (text[i] == ']') return i + 1;
      if (text[i] != ',') Fail(line, "expected ',' or ']' in the set");
      ++i;
    }
  }

  std::vector<String> ParseData(int line, const String& what) {
    std::vector<String> lines;
    int number = 0;
    std::string_view text;
    while (true) {
      if (!NextLine(number, text)) Fail(line, "picture data of " + what + " is not closed by '}'");
      if (text == "}") return lines;
      lines.emplace_back(text);
    }
  }

  const String& FSource;
  std::vector<std::string_view> FLines;
  std::size_t FNext = 0;
};

// ---- Writer ----------------------------------------------------------------------------------------

class TLayoutWriter {
 public:
  explicit TLayoutWriter(const TComponent& root) : FRoot(root) { CollectChildren(); }

  String Write() {
    WriteComponent(FRoot, 0);
    return FOut;
  }

 private:
  // Named components of the root, each under the component that encloses it (its parent control)
  // when that is one of them too, in creation order.
  void CollectChildren() {
    std::vector<const TComponent*> written;
    for (int i = 0; i < FRoot.ComponentCount(); ++i)
      if (!FRoot.Components(i)->Name().empty()) written.push_back(FRoot.Components(i));
    const std::set<const TComponent*> members(written.begin(), written.end());
    for (const TComponent* c : written) FChildren[EnclosingComponent(*c, members)].push_back(c);
  }

  const TComponent* EnclosingComponent(const TComponent& c, const std::set<const TComponent*>& members) const {
    const TComponent* parent = c.GetParentComponent();
    if (!parent || !members.count(parent)) return &FRoot;
    // A loop of parents would leave its members unreachable from the root.
    std::size_t steps = 0;
    for (const TComponent* p = parent; p && members.count(p); p = p->GetParentComponent())
      if (p == &c || ++steps > members.size()) return &FRoot;
    return parent;
  }

  void WriteComponent(const TComponent& component, int depth) {
    if (!IsIdentifier(component.Name()))
      throw EInvalidOperation("a component named " + Quoted(component.Name()) + " cannot be written to a layout");
    Line(depth, "object " + component.Name() + ": " + component.ClassName());
    std::vector<const TPersistent*> path;
    WriteProperties(component, "", depth + 1, path);
    const auto it = FChildren.find(&component);
    if (it != FChildren.end())
      for (const TComponent* child : it->second) WriteComponent(*child, depth + 1);
    Line(depth, "end");
  }

  void WriteProperties(const TPersistent& object, const String& prefix, int depth,
                       std::vector<const TPersistent*>& path) {
    if (std::find(path.begin(), path.end(), &object) != path.end())
      throw EInvalidOperation("the objects of " + prefix + " contain themselves");
    path.push_back(&object);
    for (const TPropInfo* p : object.ClassInfo().Properties()) {
      if (!p->Stored) continue;
      if (p->Kind == TTypeKind::tkClass) {
        if (const TPersistent* nested = p->GetObject(object)) WriteProperties(*nested, prefix + p->Name + ".", depth, path);
        continue;
      }
      if (p->IsDefault(object)) continue;
      Line(depth, prefix + p->Name + " = " + FormatValue(*p, object));
    }
    if (object.DefinesPictureData()) {
      const std::vector<String> lines = object.WritePictureData();
      if (!lines.empty()) {
        Line(depth, prefix + "Data = {");
        for (const String& l : lines) Line(depth + 1, l);
        Line(depth, "}");
      }
    }
    path.pop_back();
  }

  static String EnumName(const TPropInfo& p, int64_t value) {
    if (value < 0 || static_cast<std::size_t>(value) >= p.Enum->Names.size())
      throw EConvertError("value " + IntToStr(value) + " of " + p.Name + " is not a " + p.Enum->TypeName);
    return p.Enum->Names[static_cast<std::size_t>(value)];
  }

  static String FormatValue(const TPropInfo& p, const TPersistent& object) {
    switch (p.Kind) {
      case TTypeKind::tkInteger:
        return IntToStr(p.GetOrd(object));
      case TTypeKind::tkBoolean:
        return p.GetOrd(object) != 0 ? "True" : "False";
      case TTypeKind::tkEnumeration:
        return EnumName(p, p.GetOrd(object));
      case TTypeKind::tkSet: {
        const auto bits = static_cast<uint64_t>(p.GetOrd(object));
        String s;
        for (unsigned i = 0; i < 64; ++i)
          if (bits & (uint64_t{1} << i)) s += (s.empty() ? "" : ", ") + EnumName(p, i);
        return "[" + s + "]";
      }
      case TTypeKind::tkString:
        return QuoteString(p.GetStr(object));
      case TTypeKind::tkColor:
        return ColorToString(static_cast<TColor>(p.GetOrd(object)));
      case TTypeKind::tkMethod:
        return p.GetMethodName(object);
      case TTypeKind::tkClass:
        break;
    }
    throw EInvalidOperation(p.Name + " has no value of its own");
  }

  void Line(int depth, const String& text) {
    FOut.append(static_cast<std::size_t>(depth) * 2, ' ');
    FOut += text;
    FOut += '\n';
  }

  const TComponent& FRoot;
  std::map<const TComponent*, std::vector<const TComponent*>> FChildren;
  String FOut;
};

}  // namespace

// ---- Reader ----------------------------------------------------------------------------------------

// Applies parsed objects to a root; undoes what it created when anything fails.
class TLayoutReader {
 public:
  TLayoutReader(TComponent& root, const String& source) : FRoot(root), FSource(source) {}

  void Read(const TLayoutObject& tree) {
    if (tree.ClassName != FRoot.ClassName())
      Fail(tree.Line, "the layout describes a " + tree.ClassName + ", not a " + FRoot.ClassName());
    const String oldName = FRoot.Name();
    try {
      FRoot.FLoading = true;
      Guarded(tree.Line, "Name", [&] { FRoot.SetName(tree.Name); });
      ReadBlock(FRoot, tree);
      CallLoaded(tree);
    } catch (...) {
      Rollback(oldName);
      throw;
    }
  }

 private:
  struct TCreated {
    TComponent* Component;
    int Line;
  };

  [[noreturn]] void Fail(int line, const String& what) const { FailAt(FSource, line, what); }

  // Failures of the components' own code (a setter, a constructor) become layout errors at the line.
  template <class F>
  void Guarded(int line, const String& what, F&& action) const {
    try {
      action();
    } catch (const ELayoutError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, what + ": " + e.Message());
    }
  }

  void ReadBlock(TComponent& component, const TLayoutObject& node) {
    for (const TLayoutProperty& p : node.Properties) ApplyProperty(component, p);
    for (const TLayoutObject& child : node.Children) CreateChild(component, child);
  }

  void CreateChild(TComponent& enclosing, const TLayoutObject& node) {
    const TClassInfo* info = FindClass(node.ClassName);
    if (!info) Fail(node.Line, "unknown class " + node.ClassName);
    if (!info->CanCreate()) Fail(node.Line, "class " + node.ClassName + " is not a component class");
    if (FRoot.FindComponent(node.Name)) Fail(node.Line, "duplicate component name " + node.Name);
    const TFieldInfo* field = FRoot.ClassInfo().FindField(node.Name);
    TComponent* component = nullptr;
    Guarded(node.Line, "creating " + node.Name, [&] { component = info->Create(&FRoot); });
    FCreated.push_back({component, node.Line});
    component->FLoading = true;
    Guarded(node.Line, "Name", [&] { component->SetName(node.Name); });
    if (field) {
      if (!component->InheritsFrom(*field->FieldClass))
        Fail(node.Line, "the field " + node.Name + " of " + FRoot.ClassName() + " holds a " + field->FieldClass->Name() +
                            ", not a " + node.ClassName);
      field->Assign(&FRoot, component);
      FFields.push_back(field);
    }
    Guarded(node.Line, "placing " + node.Name, [&] { component->SetParentComponent(&enclosing); });
    ReadBlock(*component, node);
  }

  // Follows a dotted path through nested objects to the property at its end.
  void ApplyProperty(TPersistent& instance, const TLayoutProperty& p) {
    TPersistent* target = &instance;
    String walked;
    for (std::size_t i = 0; i + 1 < p.Path.size(); ++i) {
      const TPropInfo* info = FindStored(*target, p.Path[i], p.Line);
      walked += (walked.empty() ? "" : ".") + p.Path[i];
      if (info->Kind != TTypeKind::tkClass) Fail(p.Line, walked + " is not an object");
      target = info->GetObject(*target);
      if (!target) Fail(p.Line, walked + " is not assigned");
    }
    const String& name = p.Path.back();
    if (name == "Data" && target->DefinesPictureData()) {
      if (p.Value.Kind != TValueKind::Data) Fail(p.Line, p.PathText() + " expects picture data in { }");
      TPersistent* object = target;
      Guarded(p.Line, p.PathText(), [&] { object->ReadPictureData(p.Value.Items); });
      return;
    }
    const TPropInfo* info = FindStored(*target, name, p.Line);
    SetValue(*target, *info, p);
  }

  const TPropInfo* FindStored(const TPersistent& target, const String& name, int line) const {
    const TPropInfo* info = target.ClassInfo().FindProperty(name);
    if (!info) {
      if (name == "Data") Fail(line, target.ClassName() + " has no picture data");
      Fail(line, target.ClassName() + " has no property " + name);
    }
    if (!info->Stored) Fail(line, name + " of " + target.ClassName() + " is not set by a property line");
    return info;
  }

  void SetValue(TPersistent& target, const TPropInfo& info, const TLayoutProperty& p) {
    const String what = p.PathText();
    const TLayoutValue& v = p.Value;
    switch (info.Kind) {
      case TTypeKind::tkClass:
        Fail(p.Line, what + " is an object; its properties are set as " + what + ".Name = value");
      case TTypeKind::tkString:
        if (v.Kind != TValueKind::String) Fail(p.Line, what + " expects a quoted string");
        Guarded(p.Line, what, [&] { info.SetStr(target, v.Text); });
        return;
      case TTypeKind::tkMethod: {
        if (v.Kind != TValueKind::Identifier) Fail(p.Line, what + " expects the name of a handler");
        const TMethodInfo* method = FRoot.ClassInfo().FindMethod(v.Text);
        if (!method) Fail(p.Line, "unknown handler " + v.Text + ": " + FRoot.ClassName() + " publishes no such method");
        if (method->EventType != info.EventType)
          Fail(p.Line, "the handler " + v.Text + " does not fit the event " + what + " (its parameters differ)");
        Guarded(p.Line, what, [&] { info.SetMethod(target, &FRoot, *method); });
        return;
      }
      default: {
        const int64_t value = OrdinalValue(info, p);
        Guarded(p.Line, what, [&] { info.SetOrd(target, value); });
        return;
      }
    }
  }

  int64_t OrdinalValue(const TPropInfo& info, const TLayoutProperty& p) const {
    const String what = p.PathText();
    const TLayoutValue& v = p.Value;
    switch (info.Kind) {
      case TTypeKind::tkInteger: {
        if (v.Kind != TValueKind::Integer) Fail(p.Line, what + " expects an integer");
        int64_t value = 0;
        const auto [end, error] = std::from_chars(v.Text.data(), v.Text.data() + v.Text.size(), value);
        if (error != std::errc() || end != v.Text.data() + v.Text.size() || value < INT32_MIN || value > INT32_MAX)
          Fail(p.Line, what + ": " + v.Text + " is out of the 32-bit integer range");
        return value;
      }
      case TTypeKind::tkBoolean:
        if (v.Kind == TValueKind::Identifier && (v.Text == "True" || v.Text == "False")) return v.Text == "True";
        Fail(p.Line, what + " expects True or False");
      case TTypeKind::tkEnumeration: {
        const int index = v.Kind == TValueKind::Identifier ? info.Enum->ValueOf(v.Text) : -1;
        if (index < 0) Fail(p.Line, what + " expects a name of " + info.Enum->TypeName + ", not " + Quoted(v.Text));
        return index;
      }
      case TTypeKind::tkSet: {
        if (v.Kind != TValueKind::Set) Fail(p.Line, what + " expects a set of " + info.Enum->TypeName + " in [ ]");
        uint64_t bits = 0;
        for (const String& element : v.Items) {
          const int index = info.Enum->ValueOf(element);
          if (index < 0 || index >= 64) Fail(p.Line, element + " is not an element of " + info.Enum->TypeName);
          bits |= uint64_t{1} << index;
        }
        return static_cast<int64_t>(bits);
      }
      case TTypeKind::tkColor: {
        TColor color = 0;
        const bool plain = v.Kind == TValueKind::Identifier || v.Kind == TValueKind::Integer ||
                           v.Kind == TValueKind::HexNumber;
        if (!plain || !StringToColor(v.Text, color))
          Fail(p.Line, what + " expects a colour name or a $ hex number, not " + Quoted(v.Text));
        return static_cast<int64_t>(color);
      }
      default:
        break;
    }
    Fail(p.Line, what + " has no value of its own");
  }

  // The created components in creation order, then the root.
  void CallLoaded(const TLayoutObject& tree) {
    for (const TCreated& c : FCreated) {
      Guarded(c.Line, "Loaded of " + c.Component->Name(), [&] { c.Component->Loaded(); });
      c.Component->FLoading = false;
    }
    Guarded(tree.Line, "Loaded of " + FRoot.Name(), [&] { FRoot.Loaded(); });
    FRoot.FLoading = false;
  }

  void Rollback(const String& oldName) {
    for (const TFieldInfo* field : FFields) field->Assign(&FRoot, nullptr);
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) {
      // A component's destructor may have taken others with it.
      const auto& owned = FRoot.FComponents;
      if (std::find(owned.begin(), owned.end(), it->Component) != owned.end()) delete it->Component;
    }
    FRoot.FLoading = false;
    FRoot.SetName(oldName);
  }

  TComponent& FRoot;
  const String& FSource;
  std::vector<TCreated> FCreated;
  std::vector<const TFieldInfo*> FFields;
};

String WriteComponentLayout(const TComponent& root) { return TLayoutWriter(root).Write(); }

void ReadComponentLayout(TComponent& root, const String& text, const String& sourceName) {
  const TLayoutObject tree = TLayoutParser(text, sourceName).Parse();
  TLayoutReader(root, sourceName).Read(tree);
}

void ReadComponentLayoutFile(TComponent& root, const String& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw EFOpenError(FormatMessage(messages::FileOpen, DisplayableText(fileName)));
  const String text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw EReadError(String(messages::ReadError));
  ReadComponentLayout(root, text, fileName);
}

void ReadComponentLayout(TComponent& root, const TEmbeddedLayout& layout) {
  ReadComponentLayout(root, layout.Text(), layout.SourceName);
}

}  // namespace permora
