#include "shell/framework/library_exception.h"

namespace OvLibrary {

std::string LibraryException::Description() const { return "Unknown error"; }

std::string LibraryException::Message() const {
  std::string text = Description();
  if (hasCode_) text += ", error code: " + std::to_string(code_);
  return text;
}

const char* LibraryException::what() const noexcept {
  try {
    whatText_ = Message();
  } catch (...) {
    return "Unknown error";
  }
  return whatText_.c_str();
}

}  // namespace OvLibrary
