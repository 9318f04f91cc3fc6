#include "app/Mainwindow1.h"

#include "app/DroppedFolder.h"
#include "app/SheetFile.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/LayoutFile.h"
#include "platform/SystemDirectory.h"

extern const permora::TEmbeddedLayout Mainwindow1Layout;

namespace permora {

TMainForm1* MainForm1 = nullptr;

namespace {

constexpr const char* InformationServer = "https://permora.example.org";

constexpr const char* UsageText = "アイコン（実行ファイル）上にフォルダをドロップしてください。";
constexpr const char* InformationQuestion = "インフォメーションを参照しますか？";
constexpr const char* NoPicturesText = "フォルダの中に画像ファイルは存在しませんでした。";

// The three searches per folder, in the order their pictures go onto the sheets.
constexpr const char* PicturePatterns[] = {"*.bmp", "*.jpg", "*.jpeg"};

String SummaryText(int32_t sheets) {
  return "計 " + IntToStr(sheets) + " 枚のファイルが作成されました。保存したフォルダを開きます。";
}

String ProcessingCaption(int32_t sheet) { return "ペルモラ - " + IntToStr(sheet) + " 枚目を処理中です..."; }

// The folder that holds the sheets, for the file browser: a relative one is made absolute, since
// the browser does not start in this program's working directory.
String SheetFolder(const String& directory) {
  const String folder = ExtractFilePath(directory);
  return ExpandFileName(folder.empty() ? String("./") : folder);
}

void RegisterLayoutClasses() {
  RegisterClass(TImage::StaticClassInfo());
  RegisterClass(TButton::StaticClassInfo());
  RegisterClass(TSearchFile::StaticClassInfo());
}

}  // namespace

String InformationPageAddress(const String& executablePath) {
  return String(InformationServer) + "/info.php?pf=w&sn=" + ChangeFileExt(ExtractFileName(executablePath), "");
}

TMainForm1::TMainForm1(TComponent* AOwner) : TForm(AOwner) {
  RegisterLayoutClasses();
  ReadComponentLayout(*this, Mainwindow1Layout);
  // Folders dropped on the open window would have no effect, so it does not take drops.
  PlacedCount = 0;
  CellImages = {nullptr,
                Image1, Image2, Image3, Image4, Image5, Image6, Image7, Image8,
                Image9, Image10, Image11, Image12, Image13, Image14, Image15, Image16,
                Image17, Image18, Image19, Image20, Image21, Image22, Image23, Image24,
                Image25, Image26, Image27, Image28, Image29, Image30, Image31, Image32,
                Image33, Image34, Image35, Image36, Image37, Image38, Image39, Image40,
                Image41, Image42, Image43, Image44, Image45, Image46, Image47, Image48};
}

TMainForm1::~TMainForm1() {
  if (MainForm1 == this) MainForm1 = nullptr;
}

const TClassInfo& TMainForm1::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TMainForm1", &TForm::StaticClassInfo(), {}, {},
      {
          p::Method("FormActivate", &TMainForm1::FormActivate),
          p::Method("SearchFile1Find", &TMainForm1::SearchFile1Find),
          p::Method("Button1Click", &TMainForm1::Button1Click),
      },
      {
          p::Field<TMainForm1, TImage>("Image1", &TMainForm1::Image1),
          p::Field<TMainForm1, TImage>("Image2", &TMainForm1::Image2),
          p::Field<TMainForm1, TImage>("Image3", &TMainForm1::Image3),
          p::Field<TMainForm1, TImage>("Image4", &TMainForm1::Image4),
          p::Field<TMainForm1, TImage>("Image5", &TMainForm1::Image5),
          p::Field<TMainForm1, TImage>("Image6", &TMainForm1::Image6),
          p::Field<TMainForm1, TImage>("Image7", &TMainForm1::Image7),
          p::Field<TMainForm1, TImage>("Image8", &TMainForm1::Image8),
          p::Field<TMainForm1, TImage>("Image9", &TMainForm1::Image9),
          p::Field<TMainForm1, TImage>("Image0", &TMainForm1::Image0),
          p::Field<TMainForm1, TImage>("Image14", &TMainForm1::Image14),
          p::Field<TMainForm1, TImage>("Image15", &TMainForm1::Image15),
          p::Field<TMainForm1, TImage>("Image11", &TMainForm1::Image11),
          p::Field<TMainForm1, TImage>("Image12", &TMainForm1::Image12),
          p::Field<TMainForm1, TImage>("Image13", &TMainForm1::Image13),
          p::Field<TMainForm1, TImage>("Image16", &TMainForm1::Image16),
          p::Field<TMainForm1, TImage>("Image17", &TMainForm1::Image17),
          p::Field<TMainForm1, TImage>("Image18", &TMainForm1::Image18),
          p::Field<TMainForm1, TImage>("Image19", &TMainForm1::Image19),
          p::Field<TMainForm1, TImage>("Image20", &TMainForm1::Image20),
          p::Field<TMainForm1, TImage>("Image21", &TMainForm1::Image21),
          p::Field<TMainForm1, TImage>("Image22", &TMainForm1::Image22),
          p::Field<TMainForm1, TImage>("Image23", &TMainForm1::Image23),
          p::Field<TMainForm1, TImage>("Image24", &TMainForm1::Image24),
          p::Field<TMainForm1, TImage>("Image25", &TMainForm1::Image25),
          p::Field<TMainForm1, TImage>("Image26", &TMainForm1::Image26),
          p::Field<TMainForm1, TImage>("Image27", &TMainForm1::Image27),
          p::Field<TMainForm1, TImage>("Image28", &TMainForm1::Image28),
          p::Field<TMainForm1, TImage>("Image29", &TMainForm1::Image29),
          p::Field<TMainForm1, TImage>("Image30", &TMainForm1::Image30),
          p::Field<TMainForm1, TImage>("Image31", &TMainForm1::Image31),
          p::Field<TMainForm1, TImage>("Image32", &TMainForm1::Image32),
          p::Field<TMainForm1, TImage>("Image33", &TMainForm1::Image33),
          p::Field<TMainForm1, TImage>("Image34", &TMainForm1::Image34),
          p::Field<TMainForm1, TImage>("Image35", &TMainForm1::Image35),
          p::Field<TMainForm1, TImage>("Image36", &TMainForm1::Image36),
          p::Field<TMainForm1, TImage>("Image37", &TMainForm1::Image37),
          p::Field<TMainForm1, TImage>("Image38", &TMainForm1::Image38),
          p::Field<TMainForm1, TImage>("Image39", &TMainForm1::Image39),
          p::Field<TMainForm1, TImage>("Image40", &TMainForm1::Image40),
          p::Field<TMainForm1, TImage>("Image41", &TMainForm1::Image41),
          p::Field<TMainForm1, TImage>("Image42", &TMainForm1::Image42),
          p::Field<TMainForm1, TImage>("Image43", &TMainForm1::Image43),
          p::Field<TMainForm1, TImage>("Image44", &TMainForm1::Image44),
          p::Field<TMainForm1, TImage>("Image45", &TMainForm1::Image45),
          p::Field<TMainForm1, TImage>("Image46", &TMainForm1::Image46),
          p::Field<TMainForm1, TImage>("Image47", &TMainForm1::Image47),
          p::Field<TMainForm1, TImage>("Image48", &TMainForm1::Image48),
          p::Field<TMainForm1, TImage>("Image10", &TMainForm1::Image10),
          p::Field<TMainForm1, TSearchFile>("SearchFile1", &TMainForm1::SearchFile1),
          p::Field<TMainForm1, TButton>("Button1", &TMainForm1::Button1),
      });
  return info;
}

void TMainForm1::FormActivate(TObject* Sender) {
  if (ParamCount() < 1) {
    ExplainUsage();
    Close();
    return;
  }
  for (int i = 1; i <= ParamCount(); ++i) SearchArgument(ParamStr(i));
  FinishRun(Sender);
  Close();
}

void TMainForm1::ExplainUsage() {
  MessageBeep(0);
  ShowMessage(UsageText);
  if (MessageDlg(InformationQuestion, mtConfirmation, {mbYes, mbNo}, 0) == mrYes)
    ShellExecute("OPEN", InformationPageAddress(ParamStr(0)));
}

void TMainForm1::SearchArgument(const String& argument) {
  const std::optional<String> folder = DroppedFolderPath(argument);
  if (!folder) return;
  const std::optional<TFindEntry> entry = LookupEntry(*folder);
  if (!entry || !entry->IsDirectory()) return;
  SearchFile1->Directory = *folder;
  for (const char* pattern : PicturePatterns) {
    SearchFile1->SearchName = pattern;
    SearchFile1->Search();
  }
}

void TMainForm1::FinishRun(TObject* Sender) {
  if (PlacedCount < 1) {
    MessageBeep(0);
    ShowMessage(NoPicturesText);
    return;
  }
  Button1Click(Sender);
  MessageBeep(0);
  ShowMessage(SummaryText(Image0->Tag()));
  ShellExecute("OPEN", SheetFolder(SearchFile1->Directory));
}

void TMainForm1::SearchFile1Find(TObject* Sender, const String& Name, const TSearchFileData&, bool&) {
  const int32_t slot = SearchFile1->Tag();
  if (slot > SlotCount) {
    StartNextSheet(Sender, Name);
    return;
  }
  TImage& cell = *CellImages[static_cast<std::size_t>(slot)];
  cell.Picture().LoadFromFile(Name);
  cell.Refresh();
  SearchFile1->SetTag(slot + 1);
  ++PlacedCount;
}

// The picture that finds the sheet full writes it and becomes the first of the next sheet.
void TMainForm1::StartNextSheet(TObject* Sender, const String& fileName) {
  Button1Click(Sender);
  for (int32_t s = 1; s <= SlotCount; ++s) CellImages[static_cast<std::size_t>(s)]->Picture().Assign(nullptr);
  Refresh();
  CellImages[1]->Picture().LoadFromFile(fileName);
  SearchFile1->SetTag(2);
  Image0->SetTag(Image0->Tag() + 1);
  MessageBeep(0);
  SetCaption(ProcessingCaption(Image0->Tag()));
}

void TMainForm1::Button1Click(TObject*) {
  Refresh();
  const TRect sheet = Rect(0, 0, ClientWidth(), ClientHeight());
  const TCanvas surface(Surface());
  Image0->Canvas().CopyRect(sheet, surface, sheet);
  WriteSheetFile(Image0->Picture().Bitmap(), SheetFileName(SearchFile1->Directory, Image0->Tag()));
}

}  // namespace permora
