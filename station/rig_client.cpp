#include "station/rig_client.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <ctime>

#include "app/text/monotonic.h"
#include "station/rig_protocol.h"

namespace vondal {
namespace {

// hamlib's codes for a radio that does not answer: a timeout and a radio switched off.
constexpr int kHamlibTimeout = -5;
constexpr int kHamlibPowerOff = -20;

// Waits until fd has one of `events` or the deadline passes; the events that came, 0 at the
// deadline.
short WaitFor(int fd, short events, int64_t deadlineMs) {
  for (;;) {
    const int64_t left = deadlineMs - MonotonicMs();
    pollfd ready{fd, events, 0};
    const int n = poll(&ready, 1, left > 0 ? static_cast<int>(left) : 0);
    if (n > 0) return ready.revents;
    if (n == 0) return 0;
    if (errno != EINTR) return POLLERR;
  }
}

// A whole number with an optional sign; 0 for anything else.
int64_t NumberOf(const std::string* text) {
  int64_t value = 0;
  if (text == nullptr) return 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  return error == std::errc() && end == text->data() + text->size() ? value : 0;
}

// hamlib's mode words are single words ("PKTUSB", "CW-R").
bool IsModeToken(std::string_view word) {
  return !word.empty() && word.size() <= 32 && word.find(' ') == std::string_view::npos;
}

}  // namespace

RigClient::RigClient(std::string_view setting, RigTiming timing)
    : address_(ParseRigAddress(setting)), timing_(timing) {
  status_.address = setting;
  if (address_) {
    status_.address = HostPortText(*address_);
    status_.dataMode = address_->dataMode;
  }
}

RigClient::~RigClient() { Close(); }

void RigClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

RigAnswer RigClient::Ask() {
  RigAnswer answer;
  RigFailure failure = RigFailure::kAddress;
  if (address_) {
    if (status_.failure != RigFailure::kNone && MonotonicMs() < restUntilMs_) return answer;
    RigReading reading;
    failure = Exchange(reading);
    if (failure == RigFailure::kNone) {
      status_.last = reading;
      status_.failure = RigFailure::kNone;
      reported_ = RigFailure::kNone;
      answer.reading = std::move(reading);
      return answer;
    }
    Close();
  }
  status_.failure = failure;
  status_.failedAt = std::time(nullptr);
  restUntilMs_ = MonotonicMs() + timing_.restMs;
  if (failure != reported_) answer.message = RigFailureText(failure, status_.report);
  reported_ = failure;
  return answer;
}

RigFailure RigClient::Exchange(RigReading& reading) {
  if (fd_ >= 0) {
    // Between asks nothing is due: a readable connection was closed by rigctld (or holds an
    // answer that came too late), so it is made anew.
    pollfd idle{fd_, POLLIN, 0};
    if (poll(&idle, 1, 0) != 0) Close();
  }
  if (fd_ < 0) {
    if (const RigFailure failure = Connect(); failure != RigFailure::kNone) return failure;
  }
  RigBlock block;
  if (const RigFailure failure = Question(kAskFrequency, kFrequencyCommand, block);
      failure != RigFailure::kNone)
    return failure;
  const std::string* frequency = block.Find("Frequency");
  const std::optional<int64_t> hz = frequency ? HertzOf(*frequency) : std::nullopt;
  if (!hz) return RigFailure::kGarbage;
  reading.hz = *hz;
  // A radio that cannot tell its mode still gives its frequency.
  const RigFailure failure = Question(kAskMode, kModeCommand, block);
  if (failure == RigFailure::kNone) {
    const std::string* mode = block.Find("Mode");
    if (mode == nullptr || !IsModeToken(*mode)) return RigFailure::kGarbage;
    reading.mode = *mode;
    reading.passbandHz = NumberOf(block.Find("Passband"));
  } else if (failure != RigFailure::kRadio) {
    return failure;
  }
  reading.when = std::time(nullptr);
  return RigFailure::kNone;
}

RigFailure RigClient::Connect() {
  sockaddr_storage storage;
  const socklen_t length = SocketAddressOf(*address_, storage);
  fd_ = socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return RigFailure::kConnect;
  // Questions are single short lines: send each at once.
  const int on = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (connect(fd_, reinterpret_cast<const sockaddr*>(&storage), length) == 0) return RigFailure::kNone;
  if (errno != EINPROGRESS) return RigFailure::kConnect;
  if (WaitFor(fd_, POLLOUT, MonotonicMs() + timing_.limitMs) == 0) return RigFailure::kTimeout;
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return RigFailure::kConnect;
  return RigFailure::kNone;
}

RigFailure RigClient::Question(std::string_view question, std::string_view command, RigBlock& block) {
  const int64_t deadline = MonotonicMs() + timing_.limitMs;
  for (size_t sent = 0; sent < question.size();) {
    const ssize_t n = send(fd_, question.data() + sent, question.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (WaitFor(fd_, POLLOUT, deadline) == 0) return RigFailure::kTimeout;
    } else if (errno != EINTR) {
      return RigFailure::kConnect;
    }
  }
  std::string bytes;
  for (block = ParseRigBlock(bytes, command); block.state == RigParse::kMore;
       block = ParseRigBlock(bytes, command)) {
    if (WaitFor(fd_, POLLIN, deadline) == 0) return RigFailure::kTimeout;
    char buffer[512];
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n > 0) {
      bytes.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      return RigFailure::kConnect;  // rigctld closed the connection
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return RigFailure::kConnect;
    }
  }
  if (block.state == RigParse::kGarbage) return RigFailure::kGarbage;
  if (block.report == kHamlibTimeout || block.report == kHamlibPowerOff) return RigFailure::kTimeout;
  if (block.report != 0) {
    status_.report = block.report;
    return RigFailure::kRadio;
  }
  return RigFailure::kNone;
}

}  // namespace vondal
