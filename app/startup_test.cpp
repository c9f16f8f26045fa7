#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/config_test_folder.h"
#include "app/memory_pool.h"
#include "app/run_state.h"

namespace vondal {
namespace {

// PrepareRun makes the program's pools, which last as long as the process: each case runs in a
// child process of its own.
class PrepareRunDeathTest : public testing::Test {
 protected:
  PrepareRunDeathTest() {
    io_.output.print = [](std::string_view) {};
  }

  std::unique_ptr<RunState> Prepare(std::string_view ini, int& status) {
    std::vector<std::string> arguments = {"mylog"};
    return PrepareRun(80, 25, arguments, status, io_, folder_.Write("Vondal.ini", ini));
  }

  ConfigTestFolder folder_;
  ConfigureIo io_;
};

// The memory history the information screen shows, as the child prints it.
void PrintHistory() {
  for (const UseEntry& entry : ThePools().History())
    std::fprintf(stderr, "%s %zu\n", entry.name.c_str(), entry.amount);
}

// The temporary pool is the quota while the configuration is read, its key tables in it; the
// screen buffer and the settings live in the local pool; the first reset after the reading makes
// the final pool of `memory` megabytes.
TEST_F(PrepareRunDeathTest, TheConfigurationIsReadInTheQuotaAndKeptInTheLocalPool) {
  EXPECT_EXIT(
      {
        int status = 0;
        std::unique_ptr<RunState> run = Prepare("[DEFAULT]\ncallsign=JA1ZZZ\nmemory=3\n", status);
        const bool inPool = run && run->settings.callsign.get_allocator().resource() == RunMemory() &&
                            RunMemory() != std::pmr::new_delete_resource();
        const size_t screenAndQuota = Screen::BlockBytes(80, 25) + kQuotaSize;
        const bool settingsThere = ThePools().LocalUsed() > screenAndQuota;
        const bool quota = ThePools().Stage() == TempStage::kQuota;
        TempPoolReset();
        PrintHistory();
        std::fprintf(stderr, "%s %s %s %zu\n", inPool ? "pool" : "heap", settingsThere ? "used" : "unused",
                     quota ? "quota" : "no-quota", ThePools().TempCapacity());
        std::exit(0);
      },
      testing::ExitedWithCode(0),
      "^quota 52000\nitable [1-9][0-9]*\nmalloc 3000000\npool used quota 3000000\n$");
}

}  // namespace
}  // namespace vondal
