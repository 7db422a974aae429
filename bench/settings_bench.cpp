// Loading and saving a full settings folder (256 palettes in the list and in the
// store, 100 styles each) through the portable INI code, beside one plain parse
// of the same config.ini text as the floor.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/ini_text.h"
#include "settings/settings.h"

namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("hearthmoor-bench-" + std::to_string(std::rand()))) {
    fs::create_directories(path_);
    Settings settings;
    settings.LoadFromFolder(path_.string());
    PaletteRecord record = Settings::DefaultPalette();
    for (int i = 0; i < 256; ++i) {
      record.points[0].x = i;
      settings.AddPalette(record);
      settings.AddPaletteToStore(record);
    }
    Settings::TextList styles;
    for (int i = 0; i < 100; ++i) styles.push_back(Settings::FormatStyle(Settings::DefaultStyle()) + std::to_string(i));
    settings.SetStyles(styles, 0);
    for (const std::string& style : styles) settings.AddStyleToStore(style);
    settings.SaveAll();
  }
  ~Folder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  std::string Text() const { return path_.string(); }
  std::string Config() const {
    std::ifstream in(path_ / "config.ini", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

 private:
  fs::path path_;
};

void BM_LoadFullFolder(benchmark::State& state) {
  Folder folder;
  const fs::path previous = fs::current_path();
  for (auto _ : state) {
    Settings settings;
    benchmark::DoNotOptimize(settings.LoadFromFolder(folder.Text()));
  }
  fs::current_path(previous);
}
BENCHMARK(BM_LoadFullFolder)->Unit(benchmark::kMillisecond);

void BM_SaveAllFullFolder(benchmark::State& state) {
  Folder folder;
  const fs::path previous = fs::current_path();
  Settings settings;
  settings.LoadFromFolder(folder.Text());
  for (auto _ : state) settings.SaveAll();
  fs::current_path(previous);
}
BENCHMARK(BM_SaveAllFullFolder)->Unit(benchmark::kMillisecond);

// The floor: one parse of config.ini and one lookup.
void BM_ParseConfigOnce(benchmark::State& state) {
  Folder folder;
  const std::string text = folder.Config();
  for (auto _ : state) benchmark::DoNotOptimize(IniText(text).Find("pallette255", "BluePoint3"));
}
BENCHMARK(BM_ParseConfigOnce)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
