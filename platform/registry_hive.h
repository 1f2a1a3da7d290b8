// One hive file: the parsed hive as the file last stood, read again whenever
// the file has changed, and changed only under the file's lock, so that
// writers in other programs are never overwritten with stale values.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/registry_text.h"

namespace clangor::registry {

class HiveFile {
 public:
  // An empty path means the registry folder could not be found: every
  // reading finds an empty hive and every change fails.
  HiveFile(HiveId id, std::string path);

  // Lets `look` see the hive as the file holds it now. Fails when the file
  // cannot be read or is not a hive at all.
  Status Read(const std::function<Status(const HiveData&)>& look);

  // Locks the file, reads it afresh, lets `change` alter the hive and, when
  // it reports a change, replaces the file atomically. A file with lines
  // that could not be read is never written over: the change fails with
  // RegistryCorrupt and the file stays as the user left it.
  Status Change(const std::function<Status(HiveData&, bool& changed)>& change);

  // Between these, changes gather in memory under the file's lock and reach
  // the file once, at the end. Batches nest.
  Status BeginBatch();
  Status EndBatch();

  const std::string& Path() const { return path_; }

 private:
  struct Stamp {
    unsigned long long device = 0, inode = 0, size = 0;
    long long modified = 0, changed = 0;
    bool operator==(const Stamp&) const = default;
  };
  enum class State { Good, Damaged, NotHive };

  static Stamp StampOf(const struct stat& st);
  Status Load(bool force);
  // Takes the file's lock (fd set even when the reading after it fails).
  Status LockFile(int& fd);
  // Writes the hive and makes it the one last read.
  Status Store(HiveData&& changed);
  Status WriteAtomically(const std::string& text);

  HiveId id_;
  std::string path_;
  std::mutex mutex_;  // guards everything below
  std::optional<Stamp> stamp_;  // of the file last read; none while nothing was read
  HiveData data_;
  State state_ = State::Good;
  int batchDepth_ = 0;
  int batchLock_ = -1;  // the lock file, held for the batch
  bool batchChanged_ = false;
};

}  // namespace clangor::registry
