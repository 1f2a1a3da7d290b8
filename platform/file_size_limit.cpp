#include "platform/file_size_limit.h"

#include <csignal>
#include <mutex>

namespace clangor {

void KeepRunningPastFileSizeLimit() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
  });
}

}  // namespace clangor
