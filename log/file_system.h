// The small file interface under the log, index, safety, macro and colour files. The real one
// talks to the operating system; MemoryFileSystem keeps files in memory and FaultyFileSystem
// (faulty_file_system.h) makes writes fail on purpose, so tests can prove that nothing is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vondal {

enum class OpenMode {
  kRead,    // an existing file, read only ("rb")
  kUpdate,  // an existing file, read and write ("r+b")
  kCreate,  // created or emptied, read and write ("w+b")
  kAppend,  // created when missing, read anywhere, every write goes to the end ("a+b")
  kWrite,   // created or emptied, write only ("wb")
};

class File {
 public:
  virtual ~File() = default;

  // Reads up to `size` bytes from `offset`; the count read (less at the end of the file), or -1
  // on an error.
  virtual int64_t ReadAt(int64_t offset, void* data, size_t size) = 0;

  // Writes `size` bytes at `offset` (in kAppend mode at the end, whatever `offset` says); the
  // count written. Anything less than `size` is a failed write, and the bytes that did reach the
  // file are the caller's to take back.
  virtual int64_t WriteAt(int64_t offset, const void* data, size_t size) = 0;

  // The size in bytes, or -1 on an error.
  virtual int64_t Size() = 0;

  virtual bool Truncate(int64_t size) = 0;

  // Makes everything written so far durable: the bytes and the size (not the times).
  virtual bool Sync() = 0;

  // Asks the system to start putting these bytes on the disk now, without waiting for it: a
  // file written in many pieces then has little left for its final Sync() to wait for. Only a
  // hint; durability still comes from Sync().
  virtual void StartWriteBack(int64_t /*offset*/, int64_t /*size*/) {}

  // The whole file in memory for reading, valid while this object lives and the file is not
  // written; empty when the file cannot be mapped (then ReadAt serves). Readers that jump about
  // a large file (the sort) use it instead of one read per record.
  virtual std::string_view MapForReading() { return {}; }
};

// A lock on a file (doc/reliability.md, "One writer"), held while this object lives. It is the
// process's: a program that ends, or is killed, leaves no lock behind.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

enum class LockResult {
  kTaken,         // the lock is ours
  kHeld,          // another program holds the file (an exclusive lock, or a shared one against ours)
  kNotSupported,  // the file system keeps no locks: nothing guards the file
  kCannotOpen,    // the file cannot be opened (or made) at all
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens a file (name in CP932); null when it cannot be opened.
  virtual std::unique_ptr<File> Open(const std::string& name, OpenMode mode) = 0;

  // Replaces `to` by `from` in one step, durably.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;

  // Gives `from` the name `to` only when no file of that name exists (checked and done in one
  // step), durably. False when `to` exists or the rename fails.
  virtual bool RenameNoReplace(const std::string& from, const std::string& to) = 0;

  // True when a file (of any kind, readable or not) of that name exists.
  virtual bool Exists(const std::string& name) = 0;

  // True when both names lead to one existing file (or are the same name), however they are
  // written ("x.VD", "./x.VD", a link).
  virtual bool SameFile(const std::string& a, const std::string& b) { return a == b; }

  // The name under which a whole-file rewrite of `name` replaces the file that `name` leads to:
  // `name` itself, or, when it is a symbolic link, the name at the end of its links (a link to a
  // file not yet there leads to that file's name), so that the link stays and every name of the
  // file sees the new content. Empty when no plain file can take that place: an empty name, a
  // folder or another kind of file, a loop of links.
  virtual std::string RewriteTarget(const std::string& name) { return name; }

  // Gives the new file `to` the permission bits of the existing file `from` and, where the
  // process may, its owner and group, so that a rewrite never opens a file wider than it was.
  // True when `to` has all three of `from`; false when `from` does not exist or some could not
  // be given (a file the process cannot give away stays its own).
  virtual bool CopyOwnership(const std::string& /*from*/, const std::string& /*to*/) { return false; }

  virtual bool Remove(const std::string& name) = 0;

  // Gives the existing file `from` the second name `to` (a hard link, durably): both names then
  // lead to the same bytes. False when `to` exists or the file system has no links; callers then
  // copy.
  virtual bool Link(const std::string& /*from*/, const std::string& /*to*/) { return false; }

  // Makes the folder entry of `name` durable, so that a file just created survives a power cut.
  virtual bool SyncFolder(const std::string& /*name*/) { return true; }

  // Takes the lock of the file `name` (made, empty, when missing) without waiting: exclusive for
  // the one program that writes it, shared for programs that only read it and keep writers away.
  // The lock is on the file, not on its name: a file renamed over `name` later is not locked.
  // `lock` holds it (kTaken; also kNotSupported, which guards nothing).
  virtual LockResult Lock(const std::string& name, bool exclusive, std::unique_ptr<FileLock>& lock) = 0;
};

// The operating system's files.
FileSystem& RealFileSystem();

// Files held in memory, for tests. Each file also keeps its content as of its last Sync(), so
// that a test can cut the power: PowerCut() throws away everything written since.
class MemoryFileSystem : public FileSystem {
 public:
  struct Node {
    std::vector<char> bytes;   // as the running program sees them
    std::vector<char> synced;  // as they were at the last Sync(): what a power cut leaves
    int exclusiveLocks = 0;    // the locks held on the file (they go with it through renames)
    int sharedLocks = 0;
  };

  std::unique_ptr<File> Open(const std::string& name, OpenMode mode) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool RenameNoReplace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& name) override;
  bool Link(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& name) override { return files_.count(name) != 0; }
  LockResult Lock(const std::string& name, bool exclusive, std::unique_ptr<FileLock>& lock) override;
  // The bytes of a file ("" when it does not exist).
  std::string Contents(const std::string& name) const;
  // Sets a file's bytes, as if written and synced.
  void SetContents(const std::string& name, const std::string& bytes);
  // Every file goes back to what it held at its last Sync(), except the `survivors`, whose
  // later writes happened to reach the disk before the power went (renames and removals are
  // durable at once, as the real file system makes them).
  void PowerCut(const std::set<std::string>& survivors = {});

 private:
  std::map<std::string, std::shared_ptr<Node>> files_;
};

// Writes `bytes` as the whole new content of `name`: into a temporary file beside it, synced,
// then renamed over the old file, so that the old content survives any failure. False on a
// failure (the old file is then unchanged).
bool WriteWholeFile(FileSystem& fs, const std::string& name, const void* bytes, size_t size);

// A whole-file rewrite written piece by piece: Open() a temporary file beside the file `name`
// leads to (FileSystem::RewriteTarget: through symbolic links) with that file's permissions,
// Write() the pieces, then Commit() syncs it and renames it over that file (CommitNew() only when
// no file of that name has appeared meanwhile). Dropped without a commit, the temporary file is
// removed and the file is untouched. Open() fails for a name no plain file can take.
class FileReplacement {
 public:
  FileReplacement(FileSystem& fs, std::string name);
  ~FileReplacement();

  bool Open();
  bool Write(const void* bytes, size_t size);
  bool Commit();
  bool CommitNew();

  // Removes the temporary file of an earlier rewrite of `name` that a crash left behind.
  static void RemoveLeftover(FileSystem& fs, const std::string& name);

 private:
  FileSystem& fs_;
  std::string name_;
  std::string target_;  // the file replaced: name_, or the end of its links
  std::string temporary_;
  std::unique_ptr<File> file_;
  int64_t written_ = 0;

  bool Finish(bool replace);
};

}  // namespace vondal
