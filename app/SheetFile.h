#pragma once
// The sheet file: its name beside the searched folder, and the sheet encoded as JPEG into it.

#include <cstdint>

#include "platform/Graphics.h"

namespace permora {

// The quality the sheets are encoded with.
inline constexpr int32_t SheetQuality = 80;

// ExtractFilePath(D) + "ペルモラ ～ " + ExtractFileName(ExcludeTrailingBackslash(D)) + "_" + N + ".jpg"
// for the folder D being searched and the sheet number N.
String SheetFileName(const String& directory, int32_t sheetNumber);

// Encodes the sheet as a baseline JFIF file of quality 80 and writes it under fileName, replacing
// a file of that name; "ファイル %s を作成できません" (EFCreateError) when that fails.
void WriteSheetFile(const TBitmap& sheet, const String& fileName);

}  // namespace permora
