// mkoutfit MANIFEST PACKAGE: builds a setup package (and its volumes) from
// a manifest; see installer/package/outfit_manifest.h for the manifest.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "installer/package/outfit_manifest.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: mkoutfit MANIFEST PACKAGE\n";
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    std::string base = std::filesystem::absolute(argv[1]).parent_path().string();
    auto manifest = clangor::outfit::ParseManifest(text.str(), base);
    auto volumes = clangor::outfit::BuildPackage(manifest, argv[2]);
    std::cout << "mkoutfit: " << manifest.package.files.size() << " files in " << volumes.size() << " volume"
              << (volumes.size() == 1 ? "" : "s") << ": " << argv[2] << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "mkoutfit: " << argv[1] << ": " << e.what() << "\n";
    return 1;
  }
}
