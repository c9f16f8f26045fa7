// Live logging: the contacts WSJT-X, JTDX, JS8Call or MSHV announce over UDP (wsjtx_message.h)
// become records of the open log. Set up by the `wsjtx` key; a run without it has no listener.
//
// Single-threaded: the program's key wait watches the socket (Descriptor) and calls Receive when
// it is readable, which only reads the datagrams into memory. The contacts wait there until the
// main menu or the record editor, between keys, has them written with WriteWaiting: each through
// WriteRecord as a new record, mapped as the ADIF join maps a record (adif_record.h), and skipped
// when the log holds it already (the join's rule, duplicates.h). A contact counts as written only
// once WriteRecord succeeded; a refused one stays waiting and is tried again after a rest.
#pragma once

#include <climits>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adif/adif_time.h"
#include "adif/duplicates.h"
#include "log/log_file.h"
#include "log/record.h"
#include "log/record_index.h"
#include "station/host_port.h"
#include "station/wsjtx_socket.h"

namespace vondal {

struct WsjtxTiming {
  int retryMs = 5000;        // a refused contact is tried again after this rest
  size_t maxWaiting = 1000;  // contacts beyond this many waiting are dropped
};

// A contact waiting to be written.
struct WsjtxContact {
  Record record;
  std::string sender;  // the sender's name (WsjtxSenderName)
};

struct WsjtxStatus {
  std::string address;      // "127.0.0.1:2237", or the key's value when it is no address
  std::string openFailure;  // "" while listening
  long arrived = 0;         // contacts received (each type-5 and each record of a type-12 message)
  long written = 0;         // of these, written to the log
  long duplicates = 0;      // found in the log and skipped
  long dropped = 0;         // datagrams that were no whole message, contacts that were no contact
  std::string lastDropped;  // why the last one was dropped, with its call sign where it had one
  std::time_t droppedAt = 0;
  std::string refusal;  // why the contacts waiting were not written ("" when none was refused)
  std::time_t refusedAt = 0;
};

// What WriteWaiting did.
struct WsjtxWrite {
  std::vector<int> written;  // the record numbers written, in order
  std::string message;       // for the message line; "" when there is nothing to say
  bool fatal = false;        // `message` ends the program (WriteRecord's fatal result)
};

class WsjtxListener {
 public:
  // `setting`: the value of `wsjtx`; `logClock`: the clock the log keeps.
  WsjtxListener(std::string_view setting, TimeZone logClock, WsjtxTiming timing = {});

  // Opens the socket; "" or why it could not be (also kept in Status().openFailure).
  std::string Open();
  // Leaves the socket closed for `why` (a log this run cannot write), kept as the open failure.
  void KeepClosed(std::string why) { status_.openFailure = std::move(why); }
  // The socket to watch; -1 when it is not open.
  int Descriptor() const { return socket_.fd(); }

  // Reads the datagrams waiting on the socket (a few hundred at the most: the rest stay for the
  // next call) and keeps the contacts among them. Never blocks.
  void Receive();
  // One datagram as if it had arrived (Receive hands each one here).
  void Take(std::string_view datagram);

  // Milliseconds until WriteWaiting should be called: 0 now (contacts arrived), the rest left
  // after a refusal, -1 when nothing waits.
  int DueInMs() const;
  const std::deque<WsjtxContact>& Waiting() const { return waiting_; }

  // Writes up to `most` waiting contacts to the end of `log` (whose index is `index`), in the order
  // they arrived; a contact the log holds already is skipped. The log's browse protection and its
  // contest check do not apply: the contact was made, in another program. A contact whose write
  // is refused stays waiting; after a refusal that is not about the contact's own texts (a full
  // disk, a read-only file, the record limit) the others wait behind it.
  WsjtxWrite WriteWaiting(LogFile& log, RecordIndex& index, int most = INT_MAX);

  const WsjtxStatus& Status() const { return status_; }

 private:
  void Drop(std::string reason);
  void Keep(WsjtxContact contact);
  // The record of `log` that is the same contact as `contact`, or -1.
  int FindInLog(LogFile& log, const RecordIndex& index, const Record& contact);

  std::optional<HostPort> address_;
  TimeZone logClock_;
  WsjtxTiming timing_;
  UdpReceiver socket_;
  std::deque<WsjtxContact> waiting_;
  WsjtxStatus status_;
  int64_t retryAtMs_ = 0;    // monotonic; WriteWaiting is due from then on
  std::string toldRefusal_;  // the refusal last put on the message line
  // The log's contacts in date-time order, kept from one contact to the next: made again when a
  // record of the log was rewritten or moved since (a correction, a sort), extended by the records
  // added (the operator's, a join's, ours).
  std::unique_ptr<DuplicateFinder> finder_;
  const RecordIndex* finderIndex_ = nullptr;
  int finderRecords_ = 0;   // the records the finder holds: 0 … finderRecords_ - 1
  long finderChanges_ = 0;  // the log's rewrites and sorts when it was made
  std::vector<char> buffer_;
};

}  // namespace vondal
