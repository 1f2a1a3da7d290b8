// clangor-ring: the headless ringer. Rings touches on a tower with the real
// engine (ring), or drives the change generator alone (rows), and prints
// what it publishes.
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tools/ring/arguments.h"
#include "tools/ring/commands.h"
#include "tools/ring/library_commands.h"

namespace {

constexpr const char* Usage =
    "usage: clangor-ring rows --stage S --line \"LINE\" [--bells N] [--calls LETTERS] [--whole-pull]\n"
    "       clangor-ring library --data DIR list\n"
    "       clangor-ring composition --data DIR --name \"NAME\" [--bells N] [--method \"TITLE\"]\n"
    "       clangor-ring method --data DIR --title \"TITLE\" [--bells N] [--calls LETTERS]\n"
    "       clangor-ring sequence --data DIR --name \"NAME\" --bells N\n"
    "       clangor-ring import --data DIR FILE.xml [--stage S] [--match TEXT] [--with-calls]\n"
    "       clangor-ring ring --data DIR [--tower NAME] [--bells N | --ring \"COMBINATION\"]\n"
    "                         (--method TITLE [--calls LETTERS] | --composition NAME [--method TITLE] |\n"
    "                          --sequence NAME | --rounds ROWS) [--speed MINUTES] [--wav FILE] [--report]\n"
    "                         [--realtime] [--own-bell N [--taps FILE]]\n";

using Command = std::function<int(const std::vector<std::string>&)>;

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"rows", clangor::ring::RunRows},
      {"library", clangor::ring::RunLibrary},
      {"composition", clangor::ring::RunComposition},
      {"method", clangor::ring::RunMethod},
      {"sequence", clangor::ring::RunSequence},
      {"ring", clangor::ring::RunRing},
      {"import", clangor::ring::RunImport},
  };
  return commands;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::cerr << Usage;
    return args.empty() ? 2 : 0;
  }
  const auto command = Commands().find(args[0]);
  if (command == Commands().end()) {
    std::cerr << "clangor-ring: unknown command \"" << args[0] << "\"\n" << Usage;
    return 2;
  }
  try {
    return command->second(std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const clangor::ring::UsageError& error) {
    std::cerr << "clangor-ring: " << error.what() << "\n" << Usage;
    return 2;
  }
}
