#pragma once
// Layout files: the text form of a root component (a window) with the components it owns, their
// published properties and event bindings. The format is described in docs/layout-format.md.

#include <cstddef>

#include "platform/Classes.h"

namespace permora {

// The layout text of root and the named components it owns. A property is written only when it
// differs from its declared default; one without a default is always written.
String WriteComponentLayout(const TComponent& root);

// Reads a layout text into root, whose class must be the one the text names: creates the owned
// components by class name, applies the values through the setters in file order, binds events to
// root's published methods and calls Loaded on each created component and then on root.
// Bad text raises ELayoutError naming sourceName and the line; the components that the read
// created are then freed again and root's fields that pointed at them are null.
void ReadComponentLayout(TComponent& root, const String& text, const String& sourceName);

// Reads the layout file at fileName; EFOpenError when it cannot be opened.
void ReadComponentLayoutFile(TComponent& root, const String& fileName);

// A layout text compiled into the program by the CMake function permora_embed_layout.
struct TEmbeddedLayout {
  const char* SourceName;       // the layout file's name, for error messages
  const unsigned char* Bytes;   // the file's bytes
  std::size_t Size;
  String Text() const { return String(reinterpret_cast<const char*>(Bytes), Size); }
};

void ReadComponentLayout(TComponent& root, const TEmbeddedLayout& layout);

}  // namespace permora
