#include "console/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "app/text/charset.h"
#include "console/tty_session.h"

namespace vondal {

int RunChild(const std::vector<std::string>& argv, bool keepScreen) {
  if (argv.empty()) return -1;
  std::vector<std::string> args;
  for (const std::string& arg : argv) args.push_back(Cp932ToLocale(arg));
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  TtySession* session = ActiveTtySession();
  if (session != nullptr) session->Release(keepScreen);
  struct sigaction ignore = {}, oldInt = {}, oldQuit = {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGINT, &ignore, &oldInt);
  sigaction(SIGQUIT, &ignore, &oldQuit);

  int status = -1;
  pid_t pid = fork();
  if (pid == 0) {
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGTSTP, SIGWINCH, SIGCONT, SIGPIPE})
      signal(sig, SIG_DFL);
    execvp(pointers[0], pointers.data());
    _exit(127);
  }
  if (pid > 0) {
    int waitStatus = 0;
    pid_t done;
    do {
      done = waitpid(pid, &waitStatus, 0);
    } while (done < 0 && errno == EINTR);
    if (done == pid) {
      status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    }
  }

  sigaction(SIGINT, &oldInt, nullptr);
  sigaction(SIGQUIT, &oldQuit, nullptr);
  if (session != nullptr) session->Resume();
  return status;
}

}  // namespace vondal
