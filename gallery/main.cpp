// The button gallery: reads a layout file of a form with buttons on it, and either shows that form
// in a real window to click, hover and group, or paints every button in each of its five looks into
// a grid picture (docs/gallery.md).
//
//   button-gallery [--classic-colours] LAYOUT
//   button-gallery --render LAYOUT OUT.png

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "controls/ShineSpdBtn.h"
#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/LayoutFile.h"
#include "platform/SpeedButton.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtTextRenderer.h"

namespace permora {
namespace {

constexpr int kLooks = 5;  // the visual states in their order: vsActiveDown .. vsDisabled

struct TOptions {
  bool render = false;
  bool classicColours = false;
  String layout;
  String picture;
};

std::optional<TOptions> ParseOptions(int argc, char** argv) {
  TOptions options;
  std::vector<String> rest;
  for (int i = 1; i < argc; ++i) {
    const String arg = argv[i];
    if (arg == "--render")
      options.render = true;
    else if (arg == "--classic-colours")
      options.classicColours = true;
    else
      rest.push_back(arg);
  }
  if (options.render && rest.size() == 2 && !options.classicColours) {
    options.layout = rest[0];
    options.picture = rest[1];
    return options;
  }
  if (!options.render && rest.size() == 1) {
    options.layout = rest[0];
    return options;
  }
  return std::nullopt;
}

void RegisterButtonClasses() {
  Register();
  RegisterClass(TSpeedButton::StaticClassInfo());
}

bool IsGalleryButton(const TControl& control) {
  return control.InheritsFrom(TShineSpeedButton::StaticClassInfo()) ||
         control.InheritsFrom(TSpeedButton::StaticClassInfo());
}

// The form's buttons in child order, which is the order of the layout file.
std::vector<TControl*> GalleryButtons(const TForm& form) {
  std::vector<TControl*> buttons;
  for (int i = 0; i < form.ControlCount(); ++i)
    if (IsGalleryButton(*form.Controls(i))) buttons.push_back(form.Controls(i));
  return buttons;
}

// Gives the button look `look` (a TVisualState value) for its next paint.
void ShowLook(TControl& control, int look) {
  const auto state = static_cast<TVisualState>(look);
  control.SetEnabled(state != vsDisabled);
  if (control.InheritsFrom(TShineSpeedButton::StaticClassInfo())) {
    static_cast<TShineSpeedButton&>(control).SetState(state);
    return;
  }
  // The platform button has one up and one down look.
  const bool down = state == vsActiveDown || state == vsDown;
  static_cast<TSpeedButton&>(control).SetState(down ? TButtonState::bsDown : TButtonState::bsUp);
}

void CopyInto(TBitmap& target, const TBitmap& source, TPoint at) {
  for (int32_t y = 0; y < source.Height(); ++y)
    std::copy(source.ScanLine(y), source.ScanLine(y) + source.Width(), target.ScanLine(at.Y + y) + at.X);
}

// One row per button, one column per look; every cell is the form's colour with the button painted
// at its top-left corner.
std::unique_ptr<TBitmap> RenderGrid(TForm& form) {
  const std::vector<TControl*> buttons = GalleryButtons(form);
  if (buttons.empty()) throw EInvalidOperation("the layout places no buttons on the form");
  TSize cell;
  for (const TControl* b : buttons) {
    cell.cx = std::max(cell.cx, b->Width());
    cell.cy = std::max(cell.cy, b->Height());
  }
  auto grid = std::make_unique<TBitmap>(cell.cx * kLooks, cell.cy * static_cast<int32_t>(buttons.size()));
  // A form of one cell's size that is never shown: the buttons are painted on its surface.
  TForm stage(nullptr);
  stage.SetColor(form.Color());
  stage.SetClientWidth(cell.cx);
  stage.SetClientHeight(cell.cy);
  for (std::size_t row = 0; row < buttons.size(); ++row) {
    TControl& button = *buttons[row];
    TWinControl* home = button.Parent();
    const TRect bounds = button.BoundsRect();
    const bool enabled = button.Enabled();
    button.SetParent(&stage);
    button.SetBounds(0, 0, bounds.Width(), bounds.Height());
    for (int look = 0; look < kLooks; ++look) {
      ShowLook(button, look);
      stage.Repaint();
      CopyInto(*grid, stage.Surface(), {look * cell.cx, static_cast<int32_t>(row) * cell.cy});
    }
    button.SetEnabled(enabled);
    button.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    button.SetParent(home);
  }
  return grid;
}

void SavePng(const TBitmap& bitmap, const String& fileName) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int32_t x = 0; x < bitmap.Width(); ++x) line[x] = 0xFF000000u | bitmap.Pixel(x, y);
  }
  if (!image.save(QString::fromStdString(fileName), "PNG"))
    throw EFCreateError(FormatMessage(messages::FileCreate, fileName));
}

int Render(const TOptions& options, char* programName) {
  // No display is needed: text comes from Qt's offscreen platform, colours from the classic table.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char* argv[] = {programName, nullptr};
  QGuiApplication application(argc, argv);
  TQtTextRenderer text;
  SetTextRenderer(&text);
  struct TRendererRemoval {
    ~TRendererRemoval() { SetTextRenderer(nullptr); }
  } removal;
  SetSystemColors(nullptr);
  TForm form(nullptr);
  ReadComponentLayoutFile(form, options.layout);
  SavePng(*RenderGrid(form), options.picture);
  return 0;
}

int ShowWindow(const TOptions& options, int argc, char** argv) {
  TQtBackend backend(argv[0]);
  TQtTextRenderer text;
  SetTextRenderer(&text);
  struct TRendererRemoval {
    ~TRendererRemoval() { SetTextRenderer(nullptr); }
  } removal;
  // The fixed table instead of the desktop's palette, so the window matches --render.
  if (options.classicColours) SetSystemColors(nullptr);
  TApplication application(argc, argv);
  application.SetTitle("button-gallery");
  TForm* form = nullptr;
  application.CreateForm(form);
  ReadComponentLayoutFile(*form, options.layout);
  form->SetPosition(TPosition::poDesigned);
  application.Run();
  return application.ExitCode();
}

int Main(int argc, char** argv) {
  const std::optional<TOptions> options = ParseOptions(argc, argv);
  if (!options) {
    std::cerr << "usage: button-gallery [--classic-colours] LAYOUT\n"
                 "       button-gallery --render LAYOUT OUT.png\n";
    return 2;
  }
  RegisterButtonClasses();
  try {
    return options->render ? Render(*options, argv[0]) : ShowWindow(*options, argc, argv);
  } catch (const Exception& error) {
    // A layout that does not parse, a file that cannot be read or written.
    std::cerr << error.Message() << '\n';
    return 1;
  }
}

}  // namespace
}  // namespace permora

int main(int argc, char** argv) { return permora::Main(argc, argv); }
