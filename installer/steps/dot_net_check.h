// The .NET Framework check of a package that needs it: each version the
// package accepts (its flags) is looked for in the local-machine hive,
// newest first; the first one installed ends the check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "installer/package/setup_package.h"

namespace clangor::outfit {

// The newest acceptable version when none of them is installed ("??.??"
// when the package flags none); nothing when one is installed.
std::optional<std::string> MissingDotNetVersion(std::uint8_t flags);

// What the finish page adds when the framework is missing: message 86 with
// the version, then message 87 (its installer is started) or message 88
// with the download address (the engine's own default page gets the
// version as "v").
std::string DotNetNotice(const SetupPackage& package, const std::string& version, bool installerStarted);

inline constexpr const char* DefaultDotNetPage = "https://outfitter.fennix.invalid/dotnet";

}  // namespace clangor::outfit
