// The configuration reader and the settings built on it, fed any bytes as Vondal.ini. The file is
// called fuzz.ini in a folder of its own, so "#include fuzz.ini" makes it include itself. Every
// read must end with one of its results; printing and "#error exit" go nowhere.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/config_reader.h"
#include "app/settings.h"

namespace {

// The fuzz build has NDEBUG set; these checks must hold all the same.
void Check(bool condition) {
  if (!condition) std::abort();
}

const std::string& FuzzFile() {
  static const std::string file = [] {
    std::string folder = "/tmp/vondal-config-fuzz-XXXXXX";
    return std::string(mkdtemp(folder.data())) + "/fuzz.ini";
  }();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& file = FuzzFile();
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
  }
  vondal::ConfigureIo io;
  io.output.print = [](std::string_view) {};
  io.output.exitProgram = [] {};
  io.readKey = [] { return 'Y'; };

  int listed = vondal::ReadConfig(file, {}, io.output);
  Check(listed >= vondal::kConfigSectionTooLong);

  std::vector<std::string> arguments = {"fuzz", "-I"};
  vondal::RunConfig run = vondal::ConfigureRun(arguments, io, file);
  Check(run.start);  // the word names the log, and the question is answered Y
  Check(run.settings.memory >= 2 && run.settings.memory <= 10);
  for (const vondal::Segment& segment : run.settings.modeSegments) {
    Check(segment.segmentClass >= 1 && segment.segmentClass <= 6 && segment.highKhz >= segment.lowKhz);
  }
  return 0;
}
