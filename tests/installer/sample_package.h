// Packages made by the writer for the installer's tests: a small product
// with a program folder, a menu folder, two components and the two
// uninstallers last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "installer/package/default_messages.h"
#include "installer/package/package_writer.h"
#include "installer/package/setup_package.h"

namespace clangor::outfit::testing {

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Bytes that do not compress, so that a package of them spans volumes.
inline std::vector<std::uint8_t> Noise(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(seed >> 24);
  }
  return bytes;
}

struct SamplePackage {
  SetupPackage package;
  std::vector<std::vector<std::uint8_t>> contents;

  explicit SamplePackage(std::string application = "Tinkle", std::string key = "Tinkle 1.0") {
    package.messages = DefaultMessages();
    package.settings.applicationName = application;
    package.settings.publisher = "Orvanta";
    package.settings.version = "1.2";
    package.settings.uninstallKey = key;
    package.settings.caption = application + " Setup";
    package.settings.year = 2026;
    package.settings.month = 12;
    package.settings.day = 11;
    package.settings.displayIcon = "%APPFOLDER%\\tinkle";
    package.welcome = "Welcome.";
    package.folders = {{"APPFOLDER", "Program folder", "%PROGRAMFILES%\\Orvanta\\" + application, false},
                       {"APPMENU", "Menu folder", "%PROGRAMSMENU%\\" + application, false},
                       {"APPCOMMONFOLDER", "Data folder", "%COMMONAPPDATAROOT%\\Orvanta\\" + application, true}};
    Component main;
    main.required = true;
    main.name = "Program";
    main.description = "The program and its data";
    main.folders = {"%APPMENU%", "%DESKTOP%"};
    Component extra;
    extra.name = "Extras";
    extra.selected = false;
    extra.description = "More";
    extra.folders = {"%APPMENU%"};
    package.components = {main, extra};
    package.shortcuts = {{0, application + ".lnk", "%APPFOLDER%\\tinkle", "--loud", "Rings a little", "", 0}};
    AddFile("%APPFOLDER%\\tinkle", Bytes("#!/bin/sh\necho tinkle\n"));
    AddFile("%APPCOMMONFOLDER%\\Towers\\XII\\Eight\\control.cld", Bytes("control table"));
    AddFile("%APPFOLDER%\\" + std::string(UninstallerBeforeVista), Bytes("old uninstaller"));
    AddFile("%APPFOLDER%\\" + std::string(UninstallerFromVista), Bytes("#!/bin/sh\n"));
  }

  // Adds a file before the two uninstallers.
  PackageFile& AddFile(const std::string& name, std::vector<std::uint8_t> data, int component = 0) {
    PackageFile f;
    f.name = name;
    f.component = component;
    f.dosDateTime = (46u << 25 | 12u << 21 | 11u << 16) | (12u << 11 | 30u << 5);  // 2026-12-11 12:30
    std::size_t at = package.files.size();
    if (at >= 2 && package.files[at - 1].name.ends_with(UninstallerFromVista)) at -= 2;
    package.files.insert(package.files.begin() + static_cast<std::ptrdiff_t>(at), f);
    contents.insert(contents.begin() + static_cast<std::ptrdiff_t>(at), std::move(data));
    return package.files[at];
  }

  // Adds a file of the temporary list (they come first).
  PackageFile& AddTemporaryFile(const std::string& name, std::vector<std::uint8_t> data) {
    PackageFile f;
    f.name = name;
    f.temporary = true;
    package.files.insert(package.files.begin(), f);
    contents.insert(contents.begin(), std::move(data));
    return package.files.front();
  }

  std::vector<std::string> Write(const std::string& path, std::int32_t volumeSize = 0) const {
    return WritePackage(path, package, contents, volumeSize);
  }
};

}  // namespace clangor::outfit::testing
