#pragma once
// What a dropped folder's argument stands for, before it is looked up.

#include <optional>

#include "platform/SysUtils.h"

namespace permora {

// The folder path an argument names, as every later step uses it (lookup, search, sheet names,
// the folder opened): trailing "/" removed, so "Trip/" works like "Trip"; a last component "." or
// ".." made absolute, so the sheets land beside the folder and not inside it. Nothing for an
// argument that is or comes to the root "/" (there is no folder beside which to write), nor for
// one longer than the path limit.
std::optional<String> DroppedFolderPath(const String& argument);

}  // namespace permora
