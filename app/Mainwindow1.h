#pragma once
// The main window, which is itself the sheet: 48 picture cells of 75 x 100 pixels on a white
// 600 x 600 client area. Its first activation runs the whole job over the command line's folders.

#include <array>

#include "platform/Button.h"
#include "platform/Forms.h"
#include "platform/Image.h"
#include "search/SearchFile.h"

namespace permora {

inline constexpr int32_t SlotCount = 48;

class TMainForm1 : public TForm {
 public:
  explicit TMainForm1(TComponent* AOwner);
  ~TMainForm1() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Components made from the layout file.
  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TImage* Image3 = nullptr;
  TImage* Image4 = nullptr;
  TImage* Image5 = nullptr;
  TImage* Image6 = nullptr;
  TImage* Image7 = nullptr;
  TImage* Image8 = nullptr;
  TImage* Image9 = nullptr;
  TImage* Image0 = nullptr;
  TImage* Image14 = nullptr;
  TImage* Image15 = nullptr;
  TImage* Image11 = nullptr;
  TImage* Image12 = nullptr;
  TImage* Image13 = nullptr;
  TImage* Image16 = nullptr;
  TImage* Image17 = nullptr;
  TImage* Image18 = nullptr;
  TImage* Image19 = nullptr;
  TImage* Image20 = nullptr;
  TImage* Image21 = nullptr;
  TImage* Image22 = nullptr;
  TImage* Image23 = nullptr;
  TImage* Image24 = nullptr;
  TImage* Image25 = nullptr;
  TImage* Image26 = nullptr;
  TImage* Image27 = nullptr;
  TImage* Image28 = nullptr;
  TImage* Image29 = nullptr;
  TImage* Image30 = nullptr;
  TImage* Image31 = nullptr;
  TImage* Image32 = nullptr;
  TImage* Image33 = nullptr;
  TImage* Image34 = nullptr;
  TImage* Image35 = nullptr;
  TImage* Image36 = nullptr;
  TImage* Image37 = nullptr;
  TImage* Image38 = nullptr;
  TImage* Image39 = nullptr;
  TImage* Image40 = nullptr;
  TImage* Image41 = nullptr;
  TImage* Image42 = nullptr;
  TImage* Image43 = nullptr;
  TImage* Image44 = nullptr;
  TImage* Image45 = nullptr;
  TImage* Image46 = nullptr;
  TImage* Image47 = nullptr;
  TImage* Image48 = nullptr;
  TImage* Image10 = nullptr;
  TSearchFile* SearchFile1 = nullptr;
  TButton* Button1 = nullptr;

  // Pictures placed into a free slot during the run.
  int32_t PlacedCount = 0;
  // Slot k (1 to 48) is CellImages[k]; entry 0 is unused.
  std::array<TImage*, SlotCount + 1> CellImages{};

  // The run over the command line, at the window's first activation.
  void FormActivate(TObject* Sender);
  // Places one found picture into the next free slot; a full sheet is written first.
  void SearchFile1Find(TObject* Sender, const String& Name, const TSearchFileData& Data, bool& Continue);
  // Writes the sheet the window shows beside the folder being searched.
  void Button1Click(TObject* Sender);

 private:
  void ExplainUsage();
  void SearchArgument(const String& argument);
  void FinishRun(TObject* Sender);
  void StartNextSheet(TObject* Sender, const String& fileName);
};

// The one main window, while it exists.
extern TMainForm1* MainForm1;

// Where the information page is: the server's address, the page and the executable's base name.
String InformationPageAddress(const String& executablePath);

}  // namespace permora
