// Shared pieces of the Vonfill tests: a small city list with names in every call area, and a
// temporary folder to put files in.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vondal::vonfill::testing {

// Two names in area 8, one or two in every other area, and lines every reader must pass over.
inline const std::string kFixtureCityList =
    "// a comment line\r\n"
    "01\t北海道\tHokkaido\t8\r\n"
    "0101\t札幌\tSapporo\r\n"
    "01004\t厚田\tAtsuta\r\n"
    "010101\t中央\tChuo\r\n"
    "0132\t亀田\tKameda\t-731130\r\n"
    "0102\t旭川\r\n"
    "0201\t青森\tAomori\r\n"
    "080101\t北\tKita\r\n"
    "1001\t東京23区\tTokyo 23 wards\r\n"
    "100101\t千代田\tChiyoda\r\n"
    "10007\t小笠原\tOgasawara\r\n"
    "1801\t静岡\tShizuoka\r\n"
    "2501\t大阪\tOsaka\r\n"
    "2801\t富山\tToyama\r\n"
    "3101\t岡山\tOkayama\r\n"
    "3601\t徳島\tTokushima\r\n"
    "4001\t福岡\tFukuoka\r\n"
    "4801\t架空\tKaku\r\n"
    "0101234\t長い\tNagai\r\n";

// A new folder under $TMPDIR (or /tmp), removed with everything in it at the end of the test.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/vonfill-test-XXXXXX";
    if (mkdtemp(path_.data()) == nullptr) std::abort();
  }
  ~TemporaryFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }

  // The path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to `name` in the folder; its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = *this / name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
  }

 private:
  std::string path_;
};

}  // namespace vondal::vonfill::testing
