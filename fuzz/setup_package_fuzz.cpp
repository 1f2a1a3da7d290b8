// libFuzzer target for the setup-package reader and the installation over
// it: each input is a package file, read whole and installed into a
// temporary root with every shell folder, the hives and the temporary
// folder inside it. An input may be refused (PackageError) but must never
// crash, hang on its counts, or write beside the root's own folders.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "installer/package/package_error.h"
#include "installer/package/package_reader.h"
#include "installer/steps/installation.h"
#include "platform/shellfolders.h"

namespace fs = std::filesystem;

namespace {

// A stream that only counts what is written to it.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const fs::path& Root() {
  static const fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "clangor-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    fs::path path = pattern;
    for (const char* name : {"CLANGOR_COMMON_APPDATA", "CLANGOR_PROGRAM_FILES", "CLANGOR_COMMON_FILES", "CLANGOR_START_MENU",
                             "CLANGOR_PROGRAMS_MENU", "CLANGOR_DESKTOP", "CLANGOR_SEND_TO", "CLANGOR_STARTUP",
                             "CLANGOR_DOCUMENTS", "CLANGOR_COMMON_DOCUMENTS", "CLANGOR_APPDATA", "CLANGOR_LOCAL_APPDATA"})
      ::setenv(name, (path / "machine" / name).c_str(), 1);
    ::setenv("CLANGOR_REGISTRY_DIR", (path / "registry").c_str(), 1);
    ::setenv("TMPDIR", (path / "machine/TEMP").c_str(), 1);
    return path;
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path& root = Root();
  fs::remove_all(root / "machine");
  fs::remove_all(root / "registry");
  fs::create_directories(root / "machine/TEMP");
  fs::create_directories(root / "registry");
  fs::create_directories(root / "packages");
  std::string package = (root / "packages/input.pkg").string();
  std::ofstream(package, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  try {
    clangor::outfit::PackageReader reader(package);
    reader.ReadSections();
    NullBuffer sink;
    std::ostream out(&sink);
    for (std::size_t i = 0; i < reader.Package().files.size(); ++i) {
      try {
        reader.ExtractFile(i, out);
      } catch (const clangor::outfit::PackageError&) {
      }
    }
    clangor::outfit::InstallChoices choices;
    choices.folders.setupFolder = (root / "packages").string();
    clangor::outfit::Installation(reader, choices).Run();
  } catch (const clangor::outfit::PackageError&) {
  }
  // Only the root's own folders may be at its top, and only the package
  // beside the input in the package folder.
  const std::set<std::string> allowed = {"machine", "registry", "packages"};
  for (const auto& entry : fs::directory_iterator(root))
    if (!allowed.count(entry.path().filename().string())) std::abort();
  for (const auto& entry : fs::directory_iterator(root / "packages"))
    if (entry.path().filename() != "input.pkg" && entry.path().filename().string().rfind("input.", 0) != 0) std::abort();
  return 0;
}
