#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <cctype>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/Icon.h"
#include "platform/JPEG.h"
#include "platform/Metafile.h"
#include "support/PictureFiles.h"

namespace permora {
namespace {

using test::TTemporaryFolder;

// A 2×1 bitmap file, red then blue.
std::vector<uint8_t> TinyBMP() {
  std::vector<uint8_t> b{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
  b.resize(54, 0);
  const uint8_t pixels[] = {0, 0, 255, 255, 0, 0, 0, 0};  // blue, green, red per pixel; padding
  b.insert(b.end(), std::begin(pixels), std::end(pixels));
  return b;
}

class PictureFiles : public testing::Test {
 protected:
  std::string Make(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = Folder / name;
    test::WriteFile(path, bytes);
    return path;
  }
  TTemporaryFolder Folder;
  TPicture Picture;
};

// ---- Which class loads which name ----------------------------------------------------------------

struct FormatCase {
  const char* Name;
  const TClassInfo& (*Class)();
};

class PictureFormats : public PictureFiles, public testing::WithParamInterface<FormatCase> {};

TEST_P(PictureFormats, PickTheClassByExtension) {
  const bool bitmap = GetParam().Class == &TBitmap::StaticClassInfo;
  const std::string path = Make(GetParam().Name, bitmap ? TinyBMP() : test::SolidJPEG(8, 8, 255, 0, 0));
  Picture.LoadFromFile(path);
  ASSERT_NE(Picture.Graphic(), nullptr);
  EXPECT_EQ(&Picture.Graphic()->ClassInfo(), &GetParam().Class());
}

INSTANTIATE_TEST_SUITE_P(Names, PictureFormats,
                         testing::Values(FormatCase{"a.bmp", &TBitmap::StaticClassInfo},
                                         FormatCase{"a.BMP", &TBitmap::StaticClassInfo},
                                         FormatCase{"photo.JPG", &TJPEGImage::StaticClassInfo},
                                         FormatCase{"b.jpeg", &TJPEGImage::StaticClassInfo},
                                         FormatCase{"c.JpEg", &TJPEGImage::StaticClassInfo},
                                         FormatCase{"two.dots.jpg", &TJPEGImage::StaticClassInfo}),
                         [](const testing::TestParamInfo<FormatCase>& info) { return "Case" + std::to_string(info.index); });

struct FailureCase {
  const char* Name;
  std::vector<uint8_t> Content;
  String Message;  // "%s" stands for the full path
};

class PictureLoadFailures : public PictureFiles, public testing::WithParamInterface<FailureCase> {};

TEST_P(PictureLoadFailures, RaiseTheirMessageAndKeepThePicture) {
  Picture.LoadFromFile(Make("before.bmp", TinyBMP()));
  const TGraphic* before = Picture.Graphic();
  const std::string path = Make(GetParam().Name, GetParam().Content);
  try {
    Picture.LoadFromFile(path);
    FAIL() << "loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), FormatMessage(GetParam().Message, path));
  }
  EXPECT_EQ(Picture.Graphic(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureLoadFailures,
    testing::Values(FailureCase{"x.png", {1, 2, 3}, "拡張子 .png の画像形式は処理できません"},
                    FailureCase{"x.PnG", {1, 2, 3}, "拡張子 .PnG の画像形式は処理できません"},
                    FailureCase{"noextension", {1, 2, 3}, "拡張子 . の画像形式は処理できません"},
                    FailureCase{"x.wmf", {1, 2, 3}, "メタファイルが不正です"},
                    FailureCase{"x.ico", {1, 2, 3}, "アイコンイメージが不正です"},
                    FailureCase{"text.jpg", test::Bytes("plain text\n"), "JPEG エラー #52"},
                    FailureCase{"image.jpg", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D},
                                "JPEG エラー #52"},
                    FailureCase{"notbm.bmp", test::Bytes("XM and then some more bytes"), "ビットマップイメージが不正です"},
                    FailureCase{"short.bmp", {'B', 'M', 0, 0}, "ストリームからの読み込みエラー"}),
    [](const testing::TestParamInfo<FailureCase>& info) {
      String name;
      for (char c : String(info.param.Name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(PictureFiles, MissingFileCannotBeOpened) {
  const std::string path = Folder / "missing.jpg";
  try {
    Picture.LoadFromFile(path);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "ファイル " + path + " は開けません");
  }
  EXPECT_EQ(Picture.Graphic(), nullptr);
}

// Names that the search reports like files but that are none: opening them must fail before
// anything reads from them (a FIFO without a writer would block a reader for ever).
TEST_F(PictureFiles, OnlyRegularFilesAreOpened) {
  const std::string directory = Folder / "folder.jpg";
  ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0);
  const std::string fifo = Folder / "pipe.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string device = Folder / "zero.jpg";
  ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
  const std::string socketPath = Folder / "socket.jpg";
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  for (const std::string& path : {directory, fifo, device, socketPath}) {
    try {
      Picture.LoadFromFile(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.Message(), "ファイル " + path + " は開けません");
    }
  }
  ::close(s);
}

TEST_F(PictureFiles, LinkToARegularFileLoads) {
  const std::string target = Make("real.bmp", TinyBMP());
  const std::string link = Folder / "link.bmp";
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  Picture.LoadFromFile(link);
  EXPECT_EQ(Picture.Width(), 2);
}

TEST_F(PictureFiles, NamesAreBytesAndShownReadably) {
  // A Shift-JIS name from an old archive: not UTF-8, still opened as it is.
  const std::string name = "\x8E\xCA\x90\x5E.bmp";
  Picture.LoadFromFile(Make(name, TinyBMP()));
  const TBitmap& bitmap = static_cast<const TBitmap&>(*Picture.Graphic());
  EXPECT_EQ(bitmap.Pixel(0, 0), 0x00FF0000u);
  EXPECT_EQ(bitmap.Pixel(1, 0), 0x000000FFu);
  try {
    Picture.LoadFromFile(Folder / "\x8E\xCA.jpg");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "ファイル " + Folder.Path() + "/\xEF\xBF\xBD\xEF\xBF\xBD.jpg は開けません");
  }
}

TEST_F(PictureFiles, EmptyJPEGLoadsAndFailsWhenDrawn) {
  Picture.LoadFromFile(Make("empty.jpg", {}));
  ASSERT_NE(Picture.Graphic(), nullptr);
  TBitmap cell(75, 100);
  try {
    Picture.Graphic()->Draw(cell.Canvas(), Rect(0, 0, 75, 100));
    FAIL();
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Message(), "JPEG エラー #41");
  }
}

TEST_F(PictureFiles, JPEGCutAfterItsHeaderLoadsAndDraws) {
  auto data = test::SolidJPEG(300, 200, 0, 0, 255);
  data.resize(test::FindMarker(data, 0xDA) + 40);
  Picture.LoadFromFile(Make("cut.jpg", data));
  TBitmap cell(75, 100);
  EXPECT_NO_THROW(Picture.Graphic()->Draw(cell.Canvas(), Rect(0, 0, 75, 100)));
}

// ---- The picture as an owner of its graphic ------------------------------------------------------

TEST_F(PictureFiles, ChangesAreReported) {
  int changes = 0;
  struct TCounter : TObject {
    int* Count = nullptr;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &changes;
  Picture.OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  Picture.LoadFromFile(Make("a.bmp", TinyBMP()));
  EXPECT_EQ(changes, 1);
  Picture.Bitmap().SetPixel(0, 0, 0);
  Picture.Bitmap().Modified();
  EXPECT_EQ(changes, 2);
  Picture.Assign(nullptr);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(Picture.Graphic(), nullptr);
}

TEST_F(PictureFiles, AssignCopiesTheGraphic) {
  Picture.LoadFromFile(Make("a.jpg", test::SolidJPEG(8, 6, 0, 255, 0)));
  TPicture copy;
  copy.Assign(&Picture);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_NE(copy.Graphic(), Picture.Graphic());
  EXPECT_EQ(&copy.Graphic()->ClassInfo(), &TJPEGImage::StaticClassInfo());
  EXPECT_EQ(copy.Width(), 8);
  EXPECT_EQ(copy.Height(), 6);
}

TEST_F(PictureFiles, BitmapReplacesAnotherGraphic) {
  Picture.LoadFromFile(Make("a.jpg", test::SolidJPEG(8, 6, 0, 255, 0)));
  TBitmap& bitmap = Picture.Bitmap();
  EXPECT_EQ(Picture.Graphic(), &bitmap);
  EXPECT_EQ(bitmap.Width(), 0);
}

// Two graphics of our own for the same extension: the one registered last loads it.
class TFirstGraphic : public TGraphic {
 public:
  int32_t Width() const override { return 1; }
  int32_t Height() const override { return 1; }
  void Draw(TCanvas&, const TRect&) const override {}
  void LoadFromFile(const String&) override {}
};
class TSecondGraphic : public TFirstGraphic {
 public:
  int32_t Width() const override { return 2; }
};

TEST_F(PictureFiles, MostRecentRegistrationWins) {
  TPicture::RegisterFileFormat("tst", "first", [] { return std::make_unique<TFirstGraphic>(); });
  TPicture::RegisterFileFormat("TST", "second", [] { return std::make_unique<TSecondGraphic>(); });
  Picture.LoadFromFile(Make("x.Tst", {}));
  EXPECT_EQ(Picture.Width(), 2);
}

}  // namespace
}  // namespace permora
