// The failures of the framework library: a failure kind, and the system's
// error code when there is one.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace OvLibrary {

class LibraryException : public std::exception {
 public:
  // A code of 0 is no code: it is not printed.
  LibraryException(std::int32_t kind, std::int32_t code) : kind_(kind), hasCode_(code != 0), code_(code) {}

  std::int32_t Kind() const { return kind_; }
  bool HasCode() const { return hasCode_; }
  std::int32_t Code() const { return code_; }

  // What went wrong, in words; "Unknown error" for the base.
  virtual std::string Description() const;
  // The description, then ", error code: " and the code when there is one.
  virtual std::string Message() const;
  const char* what() const noexcept override;

 private:
  std::int32_t kind_;
  bool hasCode_;
  std::int32_t code_;
  mutable std::string whatText_;  // Message(), kept for what()
};

}  // namespace OvLibrary
