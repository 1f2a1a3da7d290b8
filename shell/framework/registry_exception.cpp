#include "shell/framework/registry_exception.h"

namespace OvLibrary {

std::string RegistryException::Description() const {
  switch (Kind()) {
    case CreateFailed: return "Failed to create registry key";
    case OpenFailed: return "Failed to open registry key";
    case CloseFailed: return "Failed to close registry key";
    case EnumerateFailed: return "Failed to enumerate registry key";
    case SetValueFailed: return "Failed to set registry value";
    case UnexpectedSize: return "Unexpected size for registry value";
    case UnexpectedType: return "Unexpected type for registry value";
  }
  return LibraryException::Description();
}

std::string RegistryException::Message() const {
  std::string text = LibraryException::Message() + "\nKey: " + key_;
  if (!value_.empty()) text += "\nValue: " + value_;
  return text;
}

}  // namespace OvLibrary
