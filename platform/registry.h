// The registry: hives of keys holding typed values, kept in place of the
// operating system's registry. Each hive lives in one text file in the
// REGEDIT4 format under the registry folder; every operation reads the file
// as it stands now, and every change reaches it atomically under a lock, so
// that two programs sharing a hive see each other's values and lose none.
//
// Operations return a system-style status: 0 for success, otherwise one of
// the codes in `registry::error` (the numbers the Win32 registry uses).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace clangor::registry {

using Status = std::int32_t;

namespace error {
inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;       // no such key or value
inline constexpr Status PathNotFound = 3;       // the registry folder cannot be found
inline constexpr Status AccessDenied = 5;       // read-only key, unwritable file or folder
inline constexpr Status InvalidHandle = 6;      // the key is not open
inline constexpr Status InvalidParameter = 87;  // a name the registry cannot hold
inline constexpr Status DiskFull = 112;
inline constexpr Status BadPathname = 161;      // a key path with an empty part
inline constexpr Status RegistryCorrupt = 1015; // the hive file cannot be read as a hive
inline constexpr Status RegistryIoFailed = 1016;
inline constexpr Status KeyDeleted = 1018;      // the open key was deleted meanwhile
}  // namespace error

// The hives this registry keeps. Each is one file named after its root,
// e.g. "HKEY_CURRENT_USER.reg".
enum class HiveId { CurrentUser, LocalMachine };

// Value types, numbered as the Win32 registry numbers them.
enum class ValueType : std::uint32_t {
  None = 0,
  String = 1,  // REG_SZ: text followed by its terminating zero
  ExpandString = 2,
  Binary = 3,  // REG_BINARY
  Dword = 4,   // REG_DWORD: 4 bytes, little-endian
  MultiString = 7,
};

enum class Access { Read, ReadWrite };

struct Value {
  ValueType type = ValueType::None;
  std::vector<std::uint8_t> data;
};

// The folder holding the hive files: $CLANGOR_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/orvanta/registry, else ~/.config/orvanta/registry.
// Empty when none of these can be found.
std::string RegistryFolder();

// The root name of a hive as REGEDIT4 writes it ("HKEY_CURRENT_USER").
std::string_view HiveRootName(HiveId hive);

class HiveFile;

// An open key, or no key. Copies refer to the same key of the same hive.
// Key paths use "\" between their parts ("Software\Orvanta\Clangor"); names
// of keys and values compare without regard to letter case.
class Key {
 public:
  Key() = default;

  // The always-open root key of a hive, in the registry folder as it is
  // now. Two roots of the same hive are independent readers and writers of
  // the same file.
  static Key Root(HiveId hive);
  // The root of a hive kept in the given file (tests, tools).
  static Key RootInFile(HiveId hive, const std::string& hivePath);

  bool IsOpen() const { return file_ != nullptr; }
  // The key's path below the root; empty for the root itself.
  const std::string& Path() const { return path_; }

  // Opens the sub-key, creating it and any missing keys above it; `created`
  // tells whether the sub-key itself had to be made.
  Status Create(std::string_view subKey, Access access, Key& result, bool* created = nullptr) const;
  // Opens an existing sub-key.
  Status Open(std::string_view subKey, Access access, Key& result) const;
  // Closes this handle; other copies stay open.
  Status Close();

  // Type and size in bytes of a value; the empty name is the key's default value.
  Status QueryValue(std::string_view name, ValueType& type, std::uint32_t& size) const;
  Status GetValue(std::string_view name, Value& value) const;
  Status SetValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) const;
  Status DeleteValue(std::string_view name) const;

  // Conveniences over the typed forms.
  Status GetDword(std::string_view name, std::uint32_t& value) const;
  Status GetString(std::string_view name, std::string& text) const;
  Status SetDword(std::string_view name, std::uint32_t value) const;
  Status SetString(std::string_view name, std::string_view text) const;

  // Names of the key's direct sub-keys (in name order) and of its values
  // (in the order they were first written).
  Status SubKeyNames(std::vector<std::string>& names) const;
  Status ValueNames(std::vector<std::string>& names) const;

  // Deletes a sub-key that has no sub-keys of its own (access denied when it
  // has some, as the Win32 registry answers), or a whole tree.
  Status DeleteSubKey(std::string_view subKey) const;
  Status DeleteTree(std::string_view subKey) const;

 private:
  Key(std::shared_ptr<HiveFile> file, std::string path, Access access)
      : file_(std::move(file)), path_(std::move(path)), access_(access) {}
  Status Reach(std::string_view subKey, Access access, bool create, Key& result, bool* created) const;
  Status Delete(std::string_view subKey, bool tree) const;

  std::shared_ptr<HiveFile> file_;
  std::string path_;
  Access access_ = Access::Read;

  friend class HiveBatch;
};

// Gathers the changes made through the keys of one root (the given key's,
// and keys opened below it) into one writing of the hive file, when the
// batch ends. While it lives the hive's lock is held: other programs wait to
// write, and in this program keys of any other root of the same hive must
// not write (they would wait for this lock). Reads through the root's keys
// see the gathered changes.
class HiveBatch {
 public:
  explicit HiveBatch(const Key& key);
  ~HiveBatch();  // commits, unless done
  HiveBatch(const HiveBatch&) = delete;
  HiveBatch& operator=(const HiveBatch&) = delete;

  // How beginning went; when it failed, every change through the keys fails
  // as it would without a batch.
  Status status() const { return status_; }
  // Writes the gathered changes; a failure means none of them reached the file.
  Status Commit();

 private:
  std::shared_ptr<HiveFile> file_;
  Status status_ = error::Success;
  bool open_ = false;
};

}  // namespace clangor::registry
