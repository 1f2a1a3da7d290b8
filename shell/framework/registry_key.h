// A registry key as an object: opened (or created) below a parent key,
// closed when the object goes. Every failure throws a RegistryException
// naming this key; a value that is missing is no failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "shell/framework/registry_exception.h"

namespace OvLibrary {

class RegistryKey {
 public:
  // `name` is the sub-key path below the parent given to Open
  // ("Software\Orvanta\Clangor").
  explicit RegistryKey(std::string name);
  ~RegistryKey();  // closes the key; never throws
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // With `create`, creates the key when it is missing (and sets `created`),
  // else throws kind 0; without, opens an existing key, else throws kind 1.
  // A key that is already open is left as it is.
  void Open(const clangor::registry::Key& parent, bool create,
            clangor::registry::Access access = clangor::registry::Access::ReadWrite);
  void Open(const RegistryKey& parent, bool create,
            clangor::registry::Access access = clangor::registry::Access::ReadWrite);
  // Closes the key (nothing when it is not open); throws kind 2 on failure.
  void Close();

  // Read a REG_DWORD or REG_SZ into `target`. A missing value returns its
  // system error (2) and leaves the target as it was; a value of another
  // type throws kind 6, an integer whose size is not 4 bytes kind 5. A text
  // of one byte or none (just the terminating zero) leaves the target as it
  // was. Returns 0 when the target was read.
  std::int32_t ReadInt(std::string_view name, std::int32_t& target);
  std::int32_t ReadString(std::string_view name, std::string& target);

  // Write a REG_DWORD of 4 bytes, or a REG_SZ with its terminating zero;
  // throw kind 4 on failure.
  void WriteInt(std::string_view name, std::int32_t value);
  void WriteString(std::string_view name, std::string_view text);

  // The names of the key's sub-keys; throws kind 3 on failure.
  std::vector<std::string> SubKeyNames() const;

  bool IsOpen() const { return handle_.IsOpen(); }
  bool created() const { return created_; }
  const std::string& name() const { return name_; }
  // The open key, as a parent for keys below it.
  const clangor::registry::Key& handle() const { return handle_; }

 private:
  [[noreturn]] void Fail(std::int32_t kind, std::int32_t code, std::string_view value = {}) const;

  clangor::registry::Key handle_;
  std::string name_;
  bool created_ = false;  // the key did not exist and this object made it
};

}  // namespace OvLibrary
