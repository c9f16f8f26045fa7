// Running one of the programs in a pseudo-terminal for a benchmark: the queries a program sends
// at start-up are answered the way a terminal answers them, the time until a given text has been
// written is taken, and then keys are typed to end the program.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/stopwatch.h"

namespace vondal::bench {

// The folder of the running benchmark program.
inline std::string BenchFolder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) std::exit(2);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('/'));
}

struct PtyRun {
  double toDrawn = -1;            // seconds from the start until `drawn` had been written; -1: never
  int status = -1;                // exit status; -1 when the program did not end normally
  long maxRssKb = 0;              // the program's peak resident memory
  std::vector<double> stepTimes;  // RunStepsInPty: seconds from the start to each step's text
};

// One step of a run: wait until `drawn` (UTF-8, as the terminal receives it) has been written
// since the step before, then type `keys`: all at once, or with `oneByOne` as a typist does, each
// byte only once the program has written something after the byte before.
struct PtyStep {
  std::string drawn;
  std::string keys;
  bool oneByOne = false;
};

// Runs `argv` (argv[0] a path) in a pseudo-terminal of 80 × 25 in `folder` with LANG=C.UTF-8 and
// goes through `steps`; gives up after 60 s without output.
inline PtyRun RunStepsInPty(const std::string& folder, const std::vector<std::string>& argv,
                            const std::vector<PtyStep>& steps) {
  struct winsize size = {25, 80, 0, 0};
  int master = -1;
  PtyRun run;
  Stopwatch stopwatch;
  pid_t pid = forkpty(&master, nullptr, nullptr, &size);
  if (pid < 0) std::exit(2);
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    setenv("LANG", "C.UTF-8", 1);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  std::string seen;
  char buffer[65536];
  // Reads what the program wrote and answers its queries; false when it has gone quiet or ended.
  auto readOutput = [&] {
    struct pollfd fd = {master, POLLIN, 0};
    if (poll(&fd, 1, 60000) <= 0) return false;
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0) return false;
    seen.append(buffer, n);
    // The cursor report comes from row 2, which is never taken for a key.
    for (size_t pos; (pos = seen.find("\x1b[6n")) != std::string::npos;) {
      seen.erase(pos, 4);
      if (write(master, "\x1b[2;2R", 6) < 0) return false;
    }
    for (size_t pos; (pos = seen.find("\x1b[c")) != std::string::npos;) {
      seen.erase(pos, 3);
      if (write(master, "\x1b[?62;22c", 9) < 0) return false;
    }
    if (seen.size() > (1 << 20)) seen.erase(0, seen.size() - 64);
    return true;
  };
  size_t step = 0;
  while (step < steps.size()) {
    if (!readOutput()) break;
    while (step < steps.size() && seen.find(steps[step].drawn) != std::string::npos) {
      run.stepTimes.push_back(stopwatch.Seconds());
      seen.clear();
      const std::string& keys = steps[step].keys;
      if (!steps[step].oneByOne) {
        if (write(master, keys.data(), keys.size()) < 0) break;
      } else {
        for (char key : keys) {
          if (write(master, &key, 1) < 0 || !readOutput()) break;
        }
      }
      ++step;
    }
  }
  // Drain what the program still writes until it ends.
  for (;;) {
    struct pollfd fd = {master, POLLIN, 0};
    if (poll(&fd, 1, step < steps.size() ? 0 : 60000) <= 0) break;
    if (read(master, buffer, sizeof buffer) <= 0) break;
  }
  int status = 0;
  if (step < steps.size()) kill(pid, SIGTERM);
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  close(master);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.maxRssKb = usage.ru_maxrss;
  if (!run.stepTimes.empty()) run.toDrawn = run.stepTimes.front();
  return run;
}

// Runs `argv` until `drawn` has appeared, then types `keys`.
inline PtyRun RunInPty(const std::string& folder, const std::vector<std::string>& argv,
                       const std::string& drawn, const std::string& keys) {
  return RunStepsInPty(folder, argv, {{drawn, keys}});
}

}  // namespace vondal::bench
