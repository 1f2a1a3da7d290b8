#include "precheck/earlier_version_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/shellfolders.h"

namespace clangor::precheck {

std::string EarlierControlFile() {
  std::string path = PathAppend(ShellFolderPath(ShellFolder::CommonAppData), "Orvanta/Clangor/Towers/");
  path = PathAppend(path, DefaultEightBellTower);
  return PathAppend(path, "control.cld");
}

bool CanOpenForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool file = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return file;
}

int RunEarlierVersionCheck(const AskUser& ask) {
  while (CanOpenForReading(EarlierControlFile()))
    if (ask(FoundTitle, FoundText) != Answer::Ok) break;
  return 0;
}

}  // namespace clangor::precheck
