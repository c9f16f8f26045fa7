#include "log/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/text/charset.h"

namespace vondal {
namespace {

// The temporary file of a whole-file rewrite is the file's name with this behind it.
constexpr char kTemporarySuffix[] = ".tmp~";
// The links a rewrite follows to the file it replaces: as many as the system follows before it
// calls them a loop.
constexpr int kMaxLinks = 40;

class PosixFile : public File {
 public:
  PosixFile(int fd, bool append) : fd_(fd), append_(append) {}
  ~PosixFile() override {
    if (mapping_) munmap(mapping_, mappedSize_);
    close(fd_);
  }

  int64_t ReadAt(int64_t offset, void* data, size_t size) override {
    size_t done = 0;
    while (done < size) {
      ssize_t n = pread(fd_, static_cast<char*>(data) + done, size - done, offset + done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      if (n == 0) break;
      done += n;
    }
    return done;
  }

  int64_t WriteAt(int64_t offset, const void* data, size_t size) override {
    size_t done = 0;
    while (done < size) {
      ssize_t n = append_ ? write(fd_, static_cast<const char*>(data) + done, size - done)
                          : pwrite(fd_, static_cast<const char*>(data) + done, size - done, offset + done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    return done;
  }

  int64_t Size() override {
    struct stat st;
    return fstat(fd_, &st) == 0 ? st.st_size : -1;
  }

  bool Truncate(int64_t size) override { return ftruncate(fd_, size) == 0; }

  // The data and the size; the times need no flush of their own.
  bool Sync() override { return fdatasync(fd_) == 0; }

  void StartWriteBack(int64_t offset, int64_t size) override {
    sync_file_range(fd_, offset, size, SYNC_FILE_RANGE_WRITE);
  }

  std::string_view MapForReading() override {
    if (!mapping_) {
      const int64_t size = Size();
      if (size <= 0) return {};
      void* p = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_, 0);
      if (p == MAP_FAILED) return {};
      mapping_ = p;
      mappedSize_ = static_cast<size_t>(size);
    }
    return {static_cast<const char*>(mapping_), mappedSize_};
  }

 private:
  int fd_;
  bool append_;
  void* mapping_ = nullptr;
  size_t mappedSize_ = 0;
};

// Syncs the folder of `name`, so that a rename or a new file survives a crash.
bool SyncFolderOf(const std::string& systemName) {
  const size_t slash = systemName.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : systemName.substr(0, slash + 1);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  close(fd);
  return synced;
}

// A flock(2) lock: on the open file, so that closing and reopening the log's own descriptors
// (after a join) never drops it, and released by the system when the process ends.
class PosixFileLock : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { close(fd_); }

 private:
  int fd_;
};

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& name, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead:
        flags |= O_RDONLY;
        break;
      case OpenMode::kUpdate:
        flags |= O_RDWR;
        break;
      case OpenMode::kCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
      case OpenMode::kAppend:
        flags |= O_RDWR | O_CREAT | O_APPEND;
        break;
      case OpenMode::kWrite:
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    }
    std::string systemName = FileNameForSystem(name);
    // Opened without waiting: a FIFO given as a file name would otherwise hold the program in
    // open() until some other program opened its other end. Reads and writes wait as usual.
    int fd = open(systemName.c_str(), flags | O_NONBLOCK, 0666);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd, mode == OpenMode::kAppend);
  }

  bool Rename(const std::string& from, const std::string& to) override {
    std::string systemTo = FileNameForSystem(to);
    if (std::rename(FileNameForSystem(from).c_str(), systemTo.c_str()) != 0) return false;
    SyncFolderOf(systemTo);
    return true;
  }

  bool RenameNoReplace(const std::string& from, const std::string& to) override {
    // A hard link fails when the name exists; then the temporary name goes.
    std::string systemFrom = FileNameForSystem(from);
    std::string systemTo = FileNameForSystem(to);
    if (link(systemFrom.c_str(), systemTo.c_str()) != 0) return false;
    unlink(systemFrom.c_str());
    SyncFolderOf(systemTo);
    return true;
  }

  bool Link(const std::string& from, const std::string& to) override {
    std::string systemTo = FileNameForSystem(to);
    if (link(FileNameForSystem(from).c_str(), systemTo.c_str()) != 0) return false;
    return SyncFolderOf(systemTo);
  }

  bool SyncFolder(const std::string& name) override { return SyncFolderOf(FileNameForSystem(name)); }

  bool Remove(const std::string& name) override { return unlink(FileNameForSystem(name).c_str()) == 0; }

  bool Exists(const std::string& name) override {
    struct stat st;
    return lstat(FileNameForSystem(name).c_str(), &st) == 0;
  }

  std::string RewriteTarget(const std::string& name) override {
    if (name.empty()) return "";
    const std::string given = FileNameForSystem(name);
    std::string path = given;
    for (int links = 0;; ++links) {
      struct stat st;
      if (lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return "";
        break;  // made anew (a link to a file not yet there makes that file)
      }
      if (S_ISREG(st.st_mode)) break;
      if (!S_ISLNK(st.st_mode) || links == kMaxLinks) return "";
      std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
      const ssize_t length = readlink(path.c_str(), target.data(), target.size());
      if (length <= 0 || static_cast<size_t>(length) > target.size()) return "";
      target.resize(static_cast<size_t>(length));
      const size_t slash = path.find_last_of('/');
      path =
          target.front() == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    if (path == given) return name;
    // The program names files in CP932: a target that name cannot spell is no place to write.
    std::string cp932 = LocaleToCp932(path);
    return FileNameForSystem(cp932) == path ? cp932 : std::string();
  }

  bool CopyOwnership(const std::string& from, const std::string& to) override {
    struct stat st;
    if (stat(FileNameForSystem(from).c_str(), &st) != 0) return false;
    const std::string systemTo = FileNameForSystem(to);
    // The owner where the process may give a file away (as root), else the group where it is one
    // of the process's; then the permission bits, which a change of owner may clear.
    const bool owner = chown(systemTo.c_str(), st.st_uid, st.st_gid) == 0;
    const bool group = owner || chown(systemTo.c_str(), static_cast<uid_t>(-1), st.st_gid) == 0;
    return chmod(systemTo.c_str(), st.st_mode & 0777) == 0 && owner && group;
  }

  bool SameFile(const std::string& a, const std::string& b) override {
    if (a == b) return true;
    struct stat statA, statB;
    return stat(FileNameForSystem(a).c_str(), &statA) == 0 &&
           stat(FileNameForSystem(b).c_str(), &statB) == 0 && SameInode(statA, statB);
  }

  LockResult Lock(const std::string& name, bool exclusive, std::unique_ptr<FileLock>& lock) override {
    const std::string systemName = FileNameForSystem(name);
    // A program that replaces the file (a sort renames its sorted log over it) does so while it
    // holds the lock; a file locked just after such a rename is the replaced one, and the lock is
    // taken again on the file the name now leads to.
    for (int attempt = 0; attempt < 100; ++attempt) {
      int fd = open(systemName.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
      if (fd < 0) return LockResult::kCannotOpen;
      struct stat opened;
      if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        // Not a file of records (a FIFO, a device): there is nothing a lock could guard.
        lock = std::make_unique<PosixFileLock>(fd);
        return LockResult::kNotSupported;
      }
      if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
          close(fd);
          return LockResult::kHeld;
        }
        if (error == EINTR) {
          close(fd);
          continue;
        }
        lock = std::make_unique<PosixFileLock>(fd);
        return LockResult::kNotSupported;  // ENOLCK, EOPNOTSUPP: a file system without locks
      }
      struct stat named;
      if (stat(systemName.c_str(), &named) == 0 && SameInode(opened, named)) {
        lock = std::make_unique<PosixFileLock>(fd);
        return LockResult::kTaken;
      }
      close(fd);
    }
    return LockResult::kHeld;  // the name keeps leading to other files: somebody is replacing it
  }
};

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<MemoryFileSystem::Node> node, bool append, bool writable)
      : node_(std::move(node)), append_(append), writable_(writable) {}

  int64_t ReadAt(int64_t offset, void* data, size_t size) override {
    const std::vector<char>& bytes = node_->bytes;
    if (offset < 0) return -1;
    if (offset >= static_cast<int64_t>(bytes.size())) return 0;
    size_t n = std::min(size, bytes.size() - static_cast<size_t>(offset));
    std::memcpy(data, bytes.data() + offset, n);
    return n;
  }

  int64_t WriteAt(int64_t offset, const void* data, size_t size) override {
    std::vector<char>& bytes = node_->bytes;
    if (!writable_ || offset < 0) return 0;
    if (append_) offset = bytes.size();
    if (bytes.size() < offset + size) bytes.resize(offset + size);
    std::memcpy(bytes.data() + offset, data, size);
    return size;
  }

  int64_t Size() override { return node_->bytes.size(); }

  bool Truncate(int64_t size) override {
    if (!writable_ || size < 0) return false;
    node_->bytes.resize(size);
    return true;
  }

  bool Sync() override {
    node_->synced = node_->bytes;
    return true;
  }

 private:
  std::shared_ptr<MemoryFileSystem::Node> node_;
  bool append_;
  bool writable_;
};

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

std::unique_ptr<File> MemoryFileSystem::Open(const std::string& name, OpenMode mode) {
  auto it = files_.find(name);
  if (it == files_.end()) {
    if (mode == OpenMode::kRead || mode == OpenMode::kUpdate) return nullptr;
    it = files_.emplace(name, std::make_shared<Node>()).first;
  } else if (mode == OpenMode::kCreate || mode == OpenMode::kWrite) {
    it->second->bytes.clear();
  }
  return std::make_unique<MemoryFile>(it->second, mode == OpenMode::kAppend, mode != OpenMode::kRead);
}

namespace {

class MemoryFileLock : public FileLock {
 public:
  MemoryFileLock(std::shared_ptr<MemoryFileSystem::Node> node, bool exclusive)
      : node_(std::move(node)), exclusive_(exclusive) {
    ++(exclusive_ ? node_->exclusiveLocks : node_->sharedLocks);
  }
  ~MemoryFileLock() override { --(exclusive_ ? node_->exclusiveLocks : node_->sharedLocks); }

 private:
  std::shared_ptr<MemoryFileSystem::Node> node_;
  bool exclusive_;
};

}  // namespace

LockResult MemoryFileSystem::Lock(const std::string& name, bool exclusive, std::unique_ptr<FileLock>& lock) {
  auto it = files_.try_emplace(name, std::make_shared<Node>()).first;
  const Node& node = *it->second;
  if (node.exclusiveLocks > 0 || (exclusive && node.sharedLocks > 0)) return LockResult::kHeld;
  lock = std::make_unique<MemoryFileLock>(it->second, exclusive);
  return LockResult::kTaken;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end()) return false;
  auto bytes = it->second;
  files_.erase(it);
  files_[to] = bytes;
  return true;
}

bool MemoryFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return !Exists(to) && Rename(from, to);
}

bool MemoryFileSystem::Remove(const std::string& name) { return files_.erase(name) != 0; }

bool MemoryFileSystem::Link(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end() || Exists(to)) return false;
  files_[to] = it->second;
  return true;
}

std::string MemoryFileSystem::Contents(const std::string& name) const {
  auto it = files_.find(name);
  return it == files_.end() ? std::string() : std::string(it->second->bytes.begin(), it->second->bytes.end());
}

void MemoryFileSystem::SetContents(const std::string& name, const std::string& bytes) {
  auto node = std::make_shared<Node>();
  node->bytes.assign(bytes.begin(), bytes.end());
  node->synced = node->bytes;
  files_[name] = node;
}

void MemoryFileSystem::PowerCut(const std::set<std::string>& survivors) {
  for (auto& [name, node] : files_) {
    if (survivors.count(name) == 0) node->bytes = node->synced;
  }
}

FileReplacement::FileReplacement(FileSystem& fs, std::string name) : fs_(fs), name_(std::move(name)) {}

FileReplacement::~FileReplacement() {
  if (file_) {
    file_.reset();
    fs_.Remove(temporary_);
  }
}

void FileReplacement::RemoveLeftover(FileSystem& fs, const std::string& name) {
  const std::string target = fs.RewriteTarget(name);
  if (target.empty()) return;
  const std::string temporary = target + kTemporarySuffix;
  if (fs.Exists(temporary)) fs.Remove(temporary);
}

bool FileReplacement::Open() {
  target_ = fs_.RewriteTarget(name_);
  if (target_.empty()) return false;
  temporary_ = target_ + kTemporarySuffix;
  file_ = fs_.Open(temporary_, OpenMode::kWrite);
  written_ = 0;
  if (!file_) return false;
  fs_.CopyOwnership(target_, temporary_);
  return true;
}

bool FileReplacement::Write(const void* bytes, size_t size) {
  if (!file_) return false;
  if (file_->WriteAt(written_, bytes, size) != static_cast<int64_t>(size)) return false;
  file_->StartWriteBack(written_, size);
  written_ += size;
  return true;
}

bool FileReplacement::Commit() { return Finish(true); }

bool FileReplacement::CommitNew() { return Finish(false); }

bool FileReplacement::Finish(bool replace) {
  if (!file_) return false;
  bool synced = file_->Sync();
  file_.reset();
  if (!synced || !(replace ? fs_.Rename(temporary_, target_) : fs_.RenameNoReplace(temporary_, target_))) {
    fs_.Remove(temporary_);
    return false;
  }
  return true;
}

bool WriteWholeFile(FileSystem& fs, const std::string& name, const void* bytes, size_t size) {
  FileReplacement replacement(fs, name);
  return replacement.Open() && replacement.Write(bytes, size) && replacement.Commit();
}

}  // namespace vondal
