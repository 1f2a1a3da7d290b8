// The local-machine registry values the installer and uninstaller keep:
// SharedDLLs counts, the uninstall entry, the installer's own value, and the
// list of files to rename or delete when the next installer or uninstaller
// starts (our stand-in for the system's rename at restart).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace clangor::outfit {

inline constexpr const char* SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* OutfitKey = "Software\\Fennix\\OutfitIT";
inline constexpr const char* SessionManagerKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr const char* PendingRenamesValue = "PendingFileRenameOperations";

std::optional<std::uint32_t> SharedCount(const std::string& path);
void SetSharedCount(const std::string& path, std::uint32_t count);
void RemoveSharedCount(const std::string& path);

// A pending rename: `from` replaces `to`; an empty `to` deletes `from`.
struct PendingRename {
  std::string from, to;
  bool operator==(const PendingRename&) const = default;
};
std::vector<PendingRename> PendingRenames();
void AddPendingRename(const PendingRename& rename);
// Carries out every pending rename it can; those that fail stay listed.
// Returns how many were carried out.
int CarryOutPendingRenames();

// Sets or reads a value of a local-machine key; false when the registry
// cannot be written.
bool SetMachineString(const std::string& key, const std::string& name, const std::string& value);
bool SetMachineDword(const std::string& key, const std::string& name, std::uint32_t value);
std::optional<std::string> MachineString(const std::string& key, const std::string& name);
// Deletes a value, then the key when nothing is left in it.
void DeleteMachineValue(const std::string& key, const std::string& name);

}  // namespace clangor::outfit
