#include "installer/steps/file_extraction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "installer/package/package_error.h"
#include "installer/steps/file_stamps.h"
#include "installer/steps/machine_registry.h"
#include "platform/shellfolders.h"

namespace clangor::outfit {

namespace fs = std::filesystem;

namespace {

// A program (an ELF file or a script) is made executable: the package keeps
// no permissions, and the product's programs must run once installed.
bool LooksLikeProgram(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, 4);
  return (in.gcount() == 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0) || (head[0] == '#' && head[1] == '!');
}

std::string MakeTemporaryBeside(const std::string& target) {
  std::string pattern = (fs::path(target).parent_path() / "ftxXXXXXX").string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0)
    throw PackageError("The file " + target + " cannot be created: " + std::strerror(errno) + ".");
  ::close(fd);
  return pattern;
}

// Whether the target could be written now; a running program cannot.
bool TargetIsWritable(const std::string& target) {
  int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  return errno == ENOENT;
}

void ClearReadOnly(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR))
    ::chmod(path.c_str(), info.st_mode | S_IWUSR);
}

}  // namespace

std::string FreeName(const std::string& folder, const std::string& fileName) {
  fs::path name(fileName);
  std::string stem = name.stem().string(), extension = name.extension().string();
  for (int n = 1;; ++n) {
    std::string candidate = PathAppend(folder, n == 1 ? fileName : stem + std::to_string(n) + extension);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
  }
}

Placed ExtractFileTo(PackageReader& reader, std::size_t index, const std::string& target,
                     const std::function<void()>& pump) {
  std::error_code ec;
  fs::create_directories(fs::path(target).parent_path(), ec);
  if (ec) throw PackageError("The folder of " + target + " cannot be made: " + ec.message() + ".");
  std::string temporary = MakeTemporaryBeside(target);
  try {
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      reader.ExtractFile(index, out, pump);
      out.close();
      if (!out) throw PackageError("The file " + target + " cannot be written.");
    }
    ::chmod(temporary.c_str(), LooksLikeProgram(temporary) ? 0755 : 0644);
    SetFileDate(temporary, reader.Package().files[index].dosDateTime);
    ClearReadOnly(target);
    if (!TargetIsWritable(target)) {
      AddPendingRename({temporary, target});
      return Placed::Pending;
    }
    fs::rename(temporary, target, ec);
    if (ec) throw PackageError("The file " + target + " cannot be created: " + ec.message() + ".");
    return Placed::Written;
  } catch (...) {
    fs::remove(temporary, ec);
    throw;
  }
}

std::string ExtractToTemporaryFolder(PackageReader& reader, std::size_t index, const std::string& fallbackFolder) {
  std::string folder = ShellFolderPath(ShellFolder::Temp);
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) folder = fallbackFolder;
  std::string name = reader.Package().files.at(index).name;
  if (name.empty() || name.find_first_of("\\/") != std::string::npos || name == "." || name == "..")
    throw PackageError("The setup package asks to unpack " + name + " to the temporary folder, which is not a file name.");
  std::string target = FreeName(folder, name);
  try {
    ExtractFileTo(reader, index, target);
  } catch (const PackageError& e) {
    throw PackageError("An error occurred while trying to extract " + name + " from the setup package:\r" + e.what());
  }
  return target;
}

}  // namespace clangor::outfit
