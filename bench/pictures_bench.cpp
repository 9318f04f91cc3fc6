// The picture path of a run, without the window: every JPEG of a folder (sorted by name) is loaded
// and drawn into its 75×100 cell of a 600×600 white sheet, which is written as a JPEG file of
// quality 80 each time it is full and once at the end. Prints pictures per second and peak memory.
//   pictures_bench FOLDER OUTPUT_FOLDER
// With --make WIDTH HEIGHT SEED FILE.ppm it writes a grainy test picture instead.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/SheetFile.h"
#include "platform/JPEG.h"

namespace {

using namespace permora;

// A film-like picture: smooth gradients and shapes under strong per-pixel grain.
int MakeGrainyPicture(int width, int height, unsigned seed, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6 " << width << " " << height << " 255\n";
  std::mt19937 random(seed);
  std::normal_distribution<float> grain(0.0f, 14.0f);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  const float fx = 1.0f / static_cast<float>(width), fy = 1.0f / static_cast<float>(height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float u = static_cast<float>(x) * fx, v = static_cast<float>(y) * fy;
      const float base[3] = {60 + 150 * u + 20 * static_cast<float>(seed % 5), 40 + 170 * v,
                             200 - 120 * u * v};
      const float g = grain(random);
      for (int c = 0; c < 3; ++c)
        row[static_cast<std::size_t>(x * 3 + c)] =
            static_cast<unsigned char>(std::clamp(base[c] + g + grain(random) * 0.3f, 0.0f, 255.0f));
    }
    out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
  }
  return out ? 0 : 1;
}

// The grid's cell of slot k (1 to 48); row 2 is not in slot order.
TRect CellOfSlot(int slot) {
  static const int secondRow[8] = {0, 1, 4, 5, 6, 3, 2, 7};  // slots 9..16 → columns
  const int index = slot - 1;
  const int row = index / 8;
  const int column = row == 1 ? secondRow[index % 8] : index % 8;
  return Bounds(column * 75, row * 100, 75, 100);
}

std::unique_ptr<TBitmap> WhiteSheet() {
  auto sheet = std::make_unique<TBitmap>(600, 600);
  sheet->Canvas().Brush.Color = clWhite;
  sheet->Canvas().FillRect(Rect(0, 0, 600, 600));
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--make")
    return MakeGrainyPicture(std::atoi(argv[2]), std::atoi(argv[3]), static_cast<unsigned>(std::atoi(argv[4])), argv[5]);
  if (argc != 3) {
    std::fprintf(stderr, "usage: pictures_bench FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
    if (entry.path().extension() == ".jpg") files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  const auto start = std::chrono::steady_clock::now();
  auto sheet = WhiteSheet();
  int slot = 1, sheets = 0;
  // The cells keep their pictures until the sheet is written, as the window's cells do.
  std::vector<std::unique_ptr<TJPEGImage>> cells;
  auto writeSheet = [&] {
    WriteSheetFile(*sheet, SheetFileName(std::string(argv[2]) + "/set", ++sheets));
    cells.clear();
    sheet = WhiteSheet();
    slot = 1;
  };
  for (const std::string& file : files) {
    if (slot > 48) writeSheet();
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromFile(file);
    jpeg->Draw(sheet->Canvas(), CellOfSlot(slot++));
    cells.push_back(std::move(jpeg));
  }
  if (slot > 1) writeSheet();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("pictures: %zu, sheets: %d, seconds: %.3f, pictures per second: %.1f, peak memory MB: %.1f\n",
              files.size(), sheets, seconds, static_cast<double>(files.size()) / seconds,
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
