// For tests and benchmarks only: hamlib's real rigctld with its dummy radio (-m 1) on a free
// port of 127.0.0.1, set through rigctl, and peers that answer like no rigctld does. A missing
// rigctld is a failure that says so, never a test skipped.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vondal::rig_test {

// A listening socket on 127.0.0.1 with a port the system chose; its port.
inline int Listen(int& port, int backlog = 4) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("listen");
    std::exit(2);
  }
  port = ntohs(address.sin_port);
  return fd;
}

// A port nobody listens on (it was free a moment ago).
inline int FreePort() {
  int port = 0;
  close(Listen(port));
  return port;
}

inline bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// Runs a program of PATH with its arguments; its exit status (127 when it could not be started).
inline int Run(const std::vector<std::string>& arguments, pid_t* child = nullptr) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return 127;
  if (child != nullptr) {
    *child = pid;
    return 0;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// rigctld -m 1 on 127.0.0.1 and a free port, for the life of the object.
class Rigctld {
 public:
  Rigctld() { Start(); }
  ~Rigctld() { Stop(); }

  // The `rig` value that reaches it.
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  int port() const { return port_; }

  // rigctl's commands for the dummy radio ("F", "7025000", "M", "CW", "500").
  void Set(const std::vector<std::string>& commands) const {
    std::vector<std::string> arguments = {"rigctl", "-m", "2", "-r", address()};
    arguments.insert(arguments.end(), commands.begin(), commands.end());
    if (Run(arguments) != 0) {
      std::fprintf(stderr, "rigctl could not set the radio at %s\n", address().c_str());
      std::exit(2);
    }
  }

  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

  // Starts it again, on the same port when it is still free.
  void Start() {
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (port_ == 0 || attempt > 0) port_ = FreePort();
      if (Run({"rigctld", "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(port_)}, &pid_) != 0) {
        std::fprintf(stderr,
                     "rigctld could not be started: install hamlib's rigctld (Debian libhamlib-utils, "
                     "script/deps installs it)\n");
        std::exit(2);
      }
      for (int wait = 0; wait < 200; ++wait) {  // up to 10 s on a busy machine
        if (Accepts(port_)) return;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) break;  // it ended: the port was taken after all
        usleep(50000);
      }
      Stop();
    }
    std::fprintf(stderr, "rigctld did not start listening\n");
    std::exit(2);
  }

 private:
  int port_ = 0;
  pid_t pid_ = 0;
};

// A peer that accepts connections and answers every line it reads with `reply` (nothing at all
// when the reply is empty), until destroyed.
class ScriptedPeer {
 public:
  explicit ScriptedPeer(std::vector<std::string> replies) : replies_(std::move(replies)) {
    listener_ = Listen(port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedPeer() {
    shutdown(listener_, SHUT_RDWR);
    if (const int fd = connection_; fd >= 0) shutdown(fd, SHUT_RDWR);
    thread_.join();
    close(listener_);
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  void Serve() {
    for (;;) {
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      connection_ = fd;
      size_t next = 0;
      char buffer[256];
      for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t i = 0; i < n; ++i) {
          if (buffer[i] != '\n' || next >= replies_.size()) continue;
          const std::string& reply = replies_[next++];
          if (!reply.empty()) (void)!write(fd, reply.data(), reply.size());
        }
      }
      connection_ = -1;
      close(fd);
    }
  }

  std::vector<std::string> replies_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<int> connection_{-1};
  std::thread thread_;
};

}  // namespace vondal::rig_test
