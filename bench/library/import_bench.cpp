// clangor-bench-import [METHODS]: the time to import a large generated method
// collection (default 20000 methods on stages 5 to 16) into an empty
// library: reading the XML, making each method's line with its calls,
// adding them and writing the methods file once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "library/library.h"
#include "library/method_collection.h"
#include "library/method_import.h"
#include "ringing/bells.h"
#include "ringing/memory_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Surprise-like notation: a symmetric half lead of "x" and place pairs that
// differ from method to method, and a seconds or last place lead end.
std::string Notation(int stage, int number) {
  std::string half;
  for (int change = 0; change < stage; ++change) {
    half += "x";
    const int low = 1 + ((number + change) % ((stage - 2) / 2)) * 2;  // odd places below the back
    half += clangor::BellChar(0);
    if (low > 1 && low + 1 < stage) {
      half += clangor::BellChar(low);
      half += clangor::BellChar(low + 1);
    }
    half += clangor::BellChar(stage - 1);
  }
  return half + (number % 2 == 0 ? ",12" : "," + std::string(1, '1') + clangor::BellChar(stage - 1));
}

std::string Collection(int methods) {
  std::string xml = "<?xml version=\"1.0\"?>\n<collection>\n";
  int made = 0;
  for (int set = 0; made < methods; ++set) {
    const int stage = 6 + 2 * (set % 6);  // 6 .. 16, even stages
    xml += "<methodSet><properties><classification trebleDodging=\"true\">Surprise</classification><stage>" +
           std::to_string(stage) + "</stage></properties>\n";
    for (int i = 0; i < 500 && made < methods; ++i, ++made) {
      xml += "<method id=\"m" + std::to_string(made) + "\"><name>Method " + std::to_string(made) +
             "</name><title>Method " + std::to_string(made) + " Surprise " + clangor::StageName(stage) +
             "</title><notation>" + Notation(stage, made) + "</notation></method>\n";
    }
    xml += "</methodSet>\n";
  }
  return xml + "</collection>\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int methods = argc > 1 ? std::atoi(argv[1]) : 20000;
  const auto folder = std::filesystem::temp_directory_path() / ("clangor_bench_import_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / clangor::LibraryFolder);
  const auto file = folder / "collection.xml";
  std::ofstream(file) << Collection(methods);

  const auto start = Clock::now();
  const clangor::MethodCollection collection = clangor::ReadMethodCollectionFile(file);
  const auto read = Clock::now();
  const auto candidates = clangor::PrepareImport(collection.methods, true);
  const auto prepared = Clock::now();
  clangor::Library library;
  clangor::MemorySettings settings;
  library.LoadLibrary(folder, &settings);
  clangor::ImportReport report;
  const bool saved = clangor::ImportIntoLibrary(library, candidates, &report);
  const auto written = Clock::now();

  std::printf("collection: %d methods, %.1f MB\n", methods,
              static_cast<double>(std::filesystem::file_size(file)) / 1e6);
  std::printf("read XML:         %8.1f ms\n", Millis(start, read));
  std::printf("lines and calls:  %8.1f ms\n", Millis(read, prepared));
  std::printf("add and write:    %8.1f ms (%s)\n", Millis(prepared, written), saved ? "written" : "NOT WRITTEN");
  std::printf("whole import:     %8.1f ms, %.2f us per method; added %d, skipped %d, refused %zu\n",
              Millis(start, written), 1000.0 * Millis(start, written) / methods, report.added, report.skipped,
              report.refused.size());
  std::filesystem::remove_all(folder);
  return saved && report.refused.empty() ? 0 : 1;
}
