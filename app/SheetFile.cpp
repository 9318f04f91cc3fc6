#include "app/SheetFile.h"

#include "platform/JPEG.h"

namespace permora {

String SheetFileName(const String& directory, int32_t sheetNumber) {
  return ExtractFilePath(directory) + "ペルモラ ～ " + ExtractFileName(ExcludeTrailingBackslash(directory)) + "_" +
         IntToStr(sheetNumber) + ".jpg";
}

void WriteSheetFile(const TBitmap& sheet, const String& fileName) {
  TJPEGImage jpeg;
  jpeg.Assign(&sheet);
  jpeg.SetCompressionQuality(SheetQuality);
  jpeg.SaveToFile(fileName);
}

}  // namespace permora
