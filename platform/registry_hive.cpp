#include "platform/registry_hive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/file_size_limit.h"

namespace clangor::registry {

namespace {

Status FromErrno(int e) {
  switch (e) {
    case ENOENT:
    case ENOTDIR:
      return error::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return error::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return error::DiskFull;
    default:
      return error::RegistryIoFailed;
  }
}

// Closes a descriptor when it goes out of scope; closing the lock file's
// descriptor also releases its lock.
struct FileDescriptor {
  int fd = -1;
  explicit FileDescriptor(int f) : fd(f) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool ReadAll(int fd, std::string& text) {
  char buffer[16384];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

HiveFile::Stamp HiveFile::StampOf(const struct stat& st) {
  return Stamp{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
               static_cast<unsigned long long>(st.st_size),
               static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
               static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec};
}

HiveFile::HiveFile(HiveId id, std::string path) : id_(id), path_(std::move(path)) {}

Status HiveFile::Load(bool force) {
  if (path_.empty()) {
    data_ = HiveData();
    state_ = State::Good;
    stamp_.reset();
    return error::Success;
  }
  FileDescriptor file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd < 0) {
    if (errno != ENOENT) return FromErrno(errno);
    // No hive file (or no folder) yet: an empty hive, made on the first change.
    data_ = HiveData();
    stamp_.reset();
    state_ = State::Good;
    return error::Success;
  }
  struct stat st {};
  if (::fstat(file.fd, &st) != 0) return FromErrno(errno);
  const Stamp stamp = StampOf(st);
  if (!force && stamp_ && *stamp_ == stamp) return state_ == State::NotHive ? error::RegistryCorrupt : error::Success;
  std::string text;
  if (!ReadAll(file.fd, text)) return FromErrno(errno);
  ParsedHive parsed = ParseHiveText(text, HiveRootName(id_));
  data_ = std::move(parsed.data);
  state_ = !parsed.isHive ? State::NotHive : parsed.badLines > 0 ? State::Damaged : State::Good;
  stamp_ = stamp;
  return state_ == State::NotHive ? error::RegistryCorrupt : error::Success;
}

Status HiveFile::Read(const std::function<Status(const HiveData&)>& look) {
  std::lock_guard lock(mutex_);
  // In a batch we hold the file's lock: nobody else can have changed it.
  if (batchDepth_ == 0) {
    if (Status s = Load(false); s != error::Success) return s;
  }
  return look(data_);
}

Status HiveFile::LockFile(int& fd) {
  if (path_.empty()) return error::PathNotFound;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
  if (ec) return FromErrno(ec.value());
  fd = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return FromErrno(errno);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    Status s = FromErrno(errno);
    ::close(fd);
    fd = -1;
    return s;
  }
  // Under the lock the file is read afresh: another program may have written
  // it since our last look, and its values must survive our change.
  return Load(true);
}

Status HiveFile::Store(HiveData&& changed) {
  if (Status s = WriteAtomically(WriteHiveText(changed, HiveRootName(id_))); s != error::Success) {
    stamp_.reset();  // the next look reads the file, not what failed to reach it
    return s;
  }
  // What we wrote is what now stands (nobody else writes while we hold the
  // lock), so the next look needs no reparse.
  data_ = std::move(changed);
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0) stamp_ = StampOf(st);
  else stamp_.reset();
  return error::Success;
}

Status HiveFile::Change(const std::function<Status(HiveData&, bool& changed)>& change) {
  std::lock_guard lock(mutex_);
  if (batchDepth_ > 0) {
    if (state_ != State::Good) return error::RegistryCorrupt;
    HiveData changedData = data_;
    bool changed = false;
    if (Status s = change(changedData, changed); s != error::Success || !changed) return s;
    data_ = std::move(changedData);
    batchChanged_ = true;
    return error::Success;
  }
  int fd = -1;
  Status s = LockFile(fd);
  FileDescriptor lockFile(fd);  // closing it releases the lock
  if (s != error::Success) return s;
  if (state_ != State::Good) return error::RegistryCorrupt;
  HiveData changedData = data_;
  bool changed = false;
  if (s = change(changedData, changed); s != error::Success || !changed) return s;
  return Store(std::move(changedData));
}

Status HiveFile::BeginBatch() {
  std::lock_guard lock(mutex_);
  if (batchDepth_ > 0) {
    ++batchDepth_;
    return error::Success;
  }
  int fd = -1;
  Status s = LockFile(fd);
  if (s != error::Success) {
    if (fd >= 0) ::close(fd);
    return s;
  }
  batchLock_ = fd;
  batchDepth_ = 1;
  batchChanged_ = false;
  return error::Success;
}

Status HiveFile::EndBatch() {
  std::lock_guard lock(mutex_);
  if (batchDepth_ == 0) return error::InvalidHandle;
  if (--batchDepth_ > 0) return error::Success;
  Status s = batchChanged_ ? Store(HiveData(data_)) : error::Success;
  ::close(batchLock_);
  batchLock_ = -1;
  return s;
}

Status HiveFile::WriteAtomically(const std::string& text) {
  KeepRunningPastFileSizeLimit();
  struct stat old {};
  bool exists = ::stat(path_.c_str(), &old) == 0;
  // A hive file the user made read-only stays as it is, even though the
  // folder would let us replace it.
  if (exists && ::access(path_.c_str(), W_OK) != 0) return FromErrno(errno);

  std::string temp = path_ + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  FileDescriptor file(fd);
  Status status = error::Success;
  if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) status = FromErrno(errno);
  if (status == error::Success && !WriteAll(fd, text)) status = FromErrno(errno);
  if (status == error::Success && ::fsync(fd) != 0) status = FromErrno(errno);
  if (status == error::Success && ::rename(temp.c_str(), path_.c_str()) != 0) status = FromErrno(errno);
  if (status != error::Success) {
    ::unlink(temp.c_str());
    return status;
  }
  // The new name reaches the disk with the folder.
  const std::string folder = std::filesystem::path(path_).parent_path().string();
  FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd >= 0) ::fsync(dir.fd);
  return status;
}

}  // namespace clangor::registry
