// clangor-bench-outfit [FOLDER]: packs every file of FOLDER (by default the
// build's data folder) into a setup package, in one volume and in 8 MiB
// volumes, then reads every file back and installs the one-volume package
// into a scratch root. Prints the sizes and the rates.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "installer/package/default_messages.h"
#include "installer/package/package_reader.h"
#include "installer/package/package_writer.h"
#include "installer/steps/installation.h"

namespace fs = std::filesystem;
using namespace clangor::outfit;

namespace {

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

SetupPackage Describe(const fs::path& folder, std::vector<std::vector<std::uint8_t>>& contents) {
  SetupPackage p;
  p.messages = DefaultMessages();
  p.settings.applicationName = "Bench";
  p.settings.uninstallKey = "Bench 1";
  p.folders = {{"APPFOLDER", "Programs", "%PROGRAMFILES%\\Bench", false}};
  p.components.push_back({true, true, "All", {}, "", {}});
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  files.push_back(files.front());  // the two uninstallers
  files.push_back(files.front());
  for (std::size_t i = 0; i < files.size(); ++i) {
    PackageFile f;
    f.name = "%APPFOLDER%\\" + (i + 2 < files.size() ? fs::relative(files[i], folder).string()
                                                     : std::string(i + 2 == files.size() ? UninstallerBeforeVista : UninstallerFromVista));
    p.files.push_back(f);
    std::ifstream in(files[i], std::ios::binary);
    contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(CLANGOR_BENCH_DATA);
  if (!fs::is_directory(folder)) {
    std::cerr << "clangor-bench-outfit: no folder " << folder << "\n";
    return 1;
  }
  fs::path scratch = fs::temp_directory_path() / ("clangor-bench-outfit-" + std::to_string(::getpid()));
  fs::create_directories(scratch / "registry");
  ::setenv("CLANGOR_PROGRAM_FILES", (scratch / "programs").c_str(), 1);
  ::setenv("CLANGOR_PROGRAMS_MENU", (scratch / "menu").c_str(), 1);
  ::setenv("CLANGOR_REGISTRY_DIR", (scratch / "registry").c_str(), 1);

  std::vector<std::vector<std::uint8_t>> contents;
  SetupPackage package = Describe(folder, contents);
  double bytes = 0;
  for (const auto& c : contents) bytes += static_cast<double>(c.size());
  const double mib = bytes / (1 << 20);
  std::cout << "folder: " << contents.size() << " files, " << mib << " MiB\n";

  for (std::int32_t volumeSize : {0, 8 << 20}) {
    fs::path path = scratch / (volumeSize ? "split.pkg" : "whole.pkg");
    auto start = std::chrono::steady_clock::now();
    auto volumes = WritePackage(path.string(), package, contents, volumeSize);
    double write = Seconds(start);
    std::uintmax_t packed = 0;
    for (const auto& v : volumes) packed += fs::file_size(v);
    start = std::chrono::steady_clock::now();
    PackageReader reader(path.string());
    reader.ReadSections();
    NullBuffer sink;
    std::ostream out(&sink);
    for (std::size_t i = 0; i < reader.Package().files.size(); ++i) reader.ExtractFile(i, out);
    double read = Seconds(start);
    std::cout << (volumeSize ? "8 MiB volumes" : "one volume   ") << ": " << volumes.size() << " volume(s), "
              << static_cast<double>(packed) / (1 << 20) << " MiB packed; write " << write << " s (" << mib / write
              << " MiB/s), read and check every file " << read << " s (" << mib / read << " MiB/s)\n";
  }
  auto start = std::chrono::steady_clock::now();
  PackageReader reader((scratch / "whole.pkg").string());
  reader.ReadSections();
  InstallReport report = Installation(reader, {}).Run();
  double install = Seconds(start);
  std::cout << "install     : " << install << " s (" << mib / install << " MiB/s), log " << fs::file_size(report.logPath)
            << " bytes\n";
  fs::remove_all(scratch);
  return 0;
}
