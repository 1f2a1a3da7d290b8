#include "shell/framework/registry_key.h"

namespace OvLibrary {

namespace reg = clangor::registry;

RegistryKey::RegistryKey(std::string name) : name_(std::move(name)) {}

RegistryKey::~RegistryKey() {
  if (handle_.IsOpen()) handle_.Close();
}

void RegistryKey::Fail(std::int32_t kind, std::int32_t code, std::string_view value) const {
  throw RegistryException(kind, code, name_, std::string(value));
}

void RegistryKey::Open(const reg::Key& parent, bool create, reg::Access access) {
  if (handle_.IsOpen()) return;
  if (create) {
    bool made = false;
    if (reg::Status s = parent.Create(name_, access, handle_, &made); s != reg::error::Success)
      Fail(RegistryException::CreateFailed, s);
    created_ = made;
  } else if (reg::Status s = parent.Open(name_, access, handle_); s != reg::error::Success) {
    Fail(RegistryException::OpenFailed, s);
  }
}

void RegistryKey::Open(const RegistryKey& parent, bool create, reg::Access access) {
  Open(parent.handle_, create, access);
}

void RegistryKey::Close() {
  if (!handle_.IsOpen()) return;
  if (reg::Status s = handle_.Close(); s != reg::error::Success) Fail(RegistryException::CloseFailed, s);
}

std::int32_t RegistryKey::ReadInt(std::string_view name, std::int32_t& target) {
  reg::Value value;
  reg::Status s = handle_.GetValue(name, value);
  if (s == reg::error::FileNotFound) return s;
  // A value that cannot be looked at has no size that could be trusted.
  if (s != reg::error::Success) Fail(RegistryException::UnexpectedSize, s, name);
  if (value.type != reg::ValueType::Dword) Fail(RegistryException::UnexpectedType, 0, name);
  if (value.data.size() != 4) Fail(RegistryException::UnexpectedSize, 0, name);
  const auto& d = value.data;
  target = static_cast<std::int32_t>(d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24);
  return reg::error::Success;
}

std::int32_t RegistryKey::ReadString(std::string_view name, std::string& target) {
  reg::Value value;
  reg::Status s = handle_.GetValue(name, value);
  if (s == reg::error::FileNotFound) return s;
  if (s != reg::error::Success) Fail(RegistryException::UnexpectedSize, s, name);
  if (value.data.size() <= 1) return reg::error::Success;
  if (value.type != reg::ValueType::String) Fail(RegistryException::UnexpectedType, 0, name);
  // The text runs to its terminating zero (or to the end when it has none).
  std::string text(value.data.begin(), value.data.end());
  if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  target = std::move(text);
  return reg::error::Success;
}

void RegistryKey::WriteInt(std::string_view name, std::int32_t value) {
  if (reg::Status s = handle_.SetDword(name, static_cast<std::uint32_t>(value)); s != reg::error::Success)
    Fail(RegistryException::SetValueFailed, s, name);
}

void RegistryKey::WriteString(std::string_view name, std::string_view text) {
  if (reg::Status s = handle_.SetString(name, text); s != reg::error::Success)
    Fail(RegistryException::SetValueFailed, s, name);
}

std::vector<std::string> RegistryKey::SubKeyNames() const {
  std::vector<std::string> names;
  if (reg::Status s = handle_.SubKeyNames(names); s != reg::error::Success) Fail(RegistryException::EnumerateFailed, s);
  return names;
}

}  // namespace OvLibrary
