// A failed registry operation: its kind, the system's error code, the key
// and, when the failure concerns one value, the value's name.
#pragma once

#include <cstdint>
#include <string>

#include "shell/framework/library_exception.h"

namespace OvLibrary {

class RegistryException : public LibraryException {
 public:
  enum FailureKind : std::int32_t {
    CreateFailed = 0,
    OpenFailed = 1,
    CloseFailed = 2,
    EnumerateFailed = 3,
    SetValueFailed = 4,
    UnexpectedSize = 5,
    UnexpectedType = 6,
  };

  RegistryException(std::int32_t kind, std::int32_t code, std::string key, std::string value = {})
      : LibraryException(kind, code), key_(std::move(key)), value_(std::move(value)) {}

  const std::string& KeyName() const { return key_; }
  const std::string& ValueName() const { return value_; }

  // The text of the kind ("Failed to open registry key").
  std::string Description() const override;
  // The base message, then "\nKey: " and the key, then "\nValue: " and the
  // value when there is one.
  std::string Message() const override;

 private:
  std::string key_;
  std::string value_;
};

}  // namespace OvLibrary
