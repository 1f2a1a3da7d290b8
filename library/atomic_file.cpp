#include "library/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/file_size_limit.h"

namespace clangor {

namespace {

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The new name reaches the disk with the folder: without this a power cut
// could bring back the old file, or none.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// The text reaches the disk (fsync) before it takes the file's name, so the
// file is always either the old one or the new one, whole.
bool ReplaceFile(const std::filesystem::path& path, const std::string& text) {
  KeepRunningPastFileSizeLimit();
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  std::filesystem::path temporary = path;
  temporary += ".writing";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  SyncFolder(path.parent_path());
  return true;
}

}  // namespace clangor
