#include "installer/steps/additional_programs.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <filesystem>

#include "installer/package/package_error.h"
#include "installer/steps/file_extraction.h"

extern char** environ;

namespace clangor::outfit {

std::vector<std::string> SplitParameters(const std::string& text) {
  std::vector<std::string> words;
  std::string current;
  bool quoted = false, any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) words.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) words.push_back(current);
  return words;
}

void StartProgram(const std::string& program, const std::string& parameters, const std::string& folder, bool wait) {
  std::vector<std::string> words = SplitParameters(parameters);
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty() && std::filesystem::is_directory(folder))
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = 0;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw PackageError("The program " + program + " cannot be started.");
  if (wait) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  }
}

ProgramTime WhenToRun(const AdditionalProgram& program) {
  std::string when = program.texts[4];
  for (char& c : when) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return when == "after" ? ProgramTime::After : ProgramTime::Before;
}

void RunAdditionalPrograms(PackageReader& reader, ProgramTime when) {
  const SetupPackage& package = reader.Package();
  for (const auto& p : package.programs) {
    if (WhenToRun(p) != when) continue;
    std::size_t index = package.files.size();
    for (std::size_t i = 0; i < package.files.size(); ++i)
      if (package.files[i].temporary && package.files[i].name == p.texts[0]) index = i;
    if (index == package.files.size())
      throw PackageError("The setup package asks to run " + p.texts[0] + ", which it does not carry.");
    std::string folder = std::filesystem::path(reader.Volumes().PackagePath()).parent_path().string();
    std::string program = ExtractToTemporaryFolder(reader, index, folder);
    ::chmod(program.c_str(), 0700);
    StartProgram(program, p.texts[1], p.texts[2], p.wait != 0);
    if (p.wait) std::filesystem::remove(program);
  }
}

}  // namespace clangor::outfit
