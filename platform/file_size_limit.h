// A write past the file-size limit (RLIMIT_FSIZE) raises SIGXFSZ, which ends
// the program by default: every edit not yet saved would be lost. The savers
// turn it off so that the write fails (EFBIG) and the failure is reported.
#pragma once

namespace clangor {

// Makes writes past the file-size limit fail instead of ending the program;
// a handler the program set itself is left alone.
void KeepRunningPastFileSizeLimit();

}  // namespace clangor
