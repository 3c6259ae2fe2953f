// Replays saved inputs through both fuzz targets' bodies, in any build: every file
// under the folders (or the files) named on the command line goes through each target.
// A crash, a sanitizer report or a leak left behind ends the process; any exception
// that escapes a body fails the run with the file's name.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "forms/application.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsUnder(const fs::path& root) {
  std::vector<fs::path> files;
  if (fs::is_regular_file(root)) files.push_back(root);
  else
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_replay FOLDER_OR_FILE...\n");
    return 2;
  }
  fuzz::initialize();
  int replayed = 0, failed = 0;
  for (int i = 1; i < argc; ++i) {
    if (!fs::exists(argv[i])) {
      std::fprintf(stderr, "fuzz_replay: %s does not exist\n", argv[i]);
      return 2;
    }
    for (const fs::path& file : inputsUnder(argv[i])) {
      std::ifstream in(file, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
      for (auto target : {&fuzz::runFormFile, &fuzz::runLateBinding}) {
        try {
          target(data, bytes.size());
        } catch (const std::exception& e) {
          std::fprintf(stderr, "fuzz_replay: %s: escaped: %s\n", file.c_str(), e.what());
          ++failed;
        }
      }
      ++replayed;
    }
  }
  // The application goes before the process does, as in any program of the runtime.
  delete forms::Application::instance();
  std::printf("fuzz_replay: %d inputs through both targets, %d failed\n", replayed, failed);
  return failed == 0 && replayed > 0 ? 0 : 1;
}
