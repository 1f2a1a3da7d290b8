#include "platform/registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/registry_hive.h"
#include "platform/registry_text.h"

namespace clangor::registry {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "";
}

std::string Join(const std::string& path, const std::string& sub) {
  if (path.empty()) return sub;
  if (sub.empty()) return path;
  return path + "\\" + sub;
}

}  // namespace

std::string RegistryFolder() {
  if (std::string dir = Env("CLANGOR_REGISTRY_DIR"); !dir.empty()) return dir;
  if (std::string config = Env("XDG_CONFIG_HOME"); !config.empty() && config.front() == '/')
    return config + "/orvanta/registry";
  if (std::string home = HomeFolder(); !home.empty()) return home + "/.config/orvanta/registry";
  return "";
}

std::string_view HiveRootName(HiveId hive) {
  return hive == HiveId::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

Key Key::Root(HiveId hive) {
  std::string folder = RegistryFolder();
  return RootInFile(hive, folder.empty() ? "" : folder + "/" + std::string(HiveRootName(hive)) + ".reg");
}

Key Key::RootInFile(HiveId hive, const std::string& hivePath) {
  return Key(std::make_shared<HiveFile>(hive, hivePath), "", Access::ReadWrite);
}

Status Key::Reach(std::string_view subKey, Access access, bool create, Key& result, bool* created) const {
  if (created) *created = false;
  if (!IsOpen()) return error::InvalidHandle;
  std::string relative;
  if (Status s = CheckKeyPath(subKey, relative); s != error::Success) return s;
  const std::string full = Join(path_, relative);
  std::string found;
  Status s = file_->Read([&](const HiveData& hive) {
    if (!hive.FindKey(path_)) return error::KeyDeleted;
    const KeyNode* key = hive.FindKey(full);
    if (!key) return error::FileNotFound;
    found = key->path;
    return error::Success;
  });
  if (s == error::FileNotFound && create) {
    // Only a key that is not there yet needs the hive to be written.
    if (access_ == Access::Read) return error::AccessDenied;
    bool made = false;  // another program may have made it meanwhile
    s = file_->Change([&](HiveData& hive, bool& changed) {
      if (!hive.FindKey(path_)) return error::KeyDeleted;
      found = hive.AddKey(full, &made).path;
      changed = made;
      return error::Success;
    });
    if (s == error::Success && created) *created = made;
  }
  if (s == error::Success) result = Key(file_, found, access);
  return s;
}

Status Key::Create(std::string_view subKey, Access access, Key& result, bool* created) const {
  return Reach(subKey, access, true, result, created);
}

Status Key::Open(std::string_view subKey, Access access, Key& result) const {
  return Reach(subKey, access, false, result, nullptr);
}

Status Key::Close() {
  if (!IsOpen()) return error::InvalidHandle;
  file_.reset();
  path_.clear();
  return error::Success;
}

Status Key::QueryValue(std::string_view name, ValueType& type, std::uint32_t& size) const {
  Value value;
  Status s = GetValue(name, value);
  if (s == error::Success) {
    type = value.type;
    size = static_cast<std::uint32_t>(value.data.size());
  }
  return s;
}

Status Key::GetValue(std::string_view name, Value& value) const {
  if (!IsOpen()) return error::InvalidHandle;
  return file_->Read([&](const HiveData& hive) {
    const KeyNode* key = hive.FindKey(path_);
    if (!key) return error::KeyDeleted;
    const NamedValue* found = key->FindValue(name);
    if (!found) return error::FileNotFound;
    value = found->value;
    return error::Success;
  });
}

Status Key::SetValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) const {
  if (!IsOpen()) return error::InvalidHandle;
  if (access_ == Access::Read) return error::AccessDenied;
  if (!IsValidValueName(name)) return error::InvalidParameter;
  Value value{type, std::vector<std::uint8_t>(data.begin(), data.end())};
  return file_->Change([&](HiveData& hive, bool& changed) {
    KeyNode* key = hive.FindKey(path_);
    if (!key) return error::KeyDeleted;
    changed = key->SetValue(name, value);
    return error::Success;
  });
}

Status Key::DeleteValue(std::string_view name) const {
  if (!IsOpen()) return error::InvalidHandle;
  if (access_ == Access::Read) return error::AccessDenied;
  return file_->Change([&](HiveData& hive, bool& changed) {
    KeyNode* key = hive.FindKey(path_);
    if (!key) return error::KeyDeleted;
    changed = key->RemoveValue(name);
    return changed ? error::Success : error::FileNotFound;
  });
}

Status Key::GetDword(std::string_view name, std::uint32_t& value) const {
  Value v;
  if (Status s = GetValue(name, v); s != error::Success) return s;
  if (v.type != ValueType::Dword || v.data.size() != 4) return error::InvalidParameter;
  value = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | static_cast<std::uint32_t>(v.data[3]) << 24;
  return error::Success;
}

Status Key::GetString(std::string_view name, std::string& text) const {
  Value v;
  if (Status s = GetValue(name, v); s != error::Success) return s;
  if (v.type != ValueType::String && v.type != ValueType::ExpandString) return error::InvalidParameter;
  text.assign(v.data.begin(), v.data.end());
  if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return error::Success;
}

Status Key::SetDword(std::string_view name, std::uint32_t value) const {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return SetValue(name, ValueType::Dword, bytes);
}

Status Key::SetString(std::string_view name, std::string_view text) const {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return SetValue(name, ValueType::String, bytes);
}

Status Key::SubKeyNames(std::vector<std::string>& names) const {
  if (!IsOpen()) return error::InvalidHandle;
  return file_->Read([&](const HiveData& hive) {
    if (!hive.FindKey(path_)) return error::KeyDeleted;
    names = hive.SubKeyNames(path_);
    return error::Success;
  });
}

Status Key::ValueNames(std::vector<std::string>& names) const {
  if (!IsOpen()) return error::InvalidHandle;
  return file_->Read([&](const HiveData& hive) {
    const KeyNode* key = hive.FindKey(path_);
    if (!key) return error::KeyDeleted;
    names.clear();
    for (const auto& v : key->values) names.push_back(v.name);
    return error::Success;
  });
}

Status Key::DeleteSubKey(std::string_view subKey) const { return Delete(subKey, false); }

Status Key::DeleteTree(std::string_view subKey) const { return Delete(subKey, true); }

Status Key::Delete(std::string_view subKey, bool tree) const {
  if (!IsOpen()) return error::InvalidHandle;
  if (access_ == Access::Read) return error::AccessDenied;
  std::string relative;
  if (Status s = CheckKeyPath(subKey, relative); s != error::Success) return s;
  if (relative.empty()) return error::AccessDenied;  // a key does not delete itself through its own handle
  const std::string full = Join(path_, relative);
  return file_->Change([&](HiveData& hive, bool& changed) {
    if (!hive.FindKey(path_)) return error::KeyDeleted;
    if (!hive.FindKey(full)) return error::FileNotFound;
    if (!tree && hive.HasSubKeys(full)) return error::AccessDenied;
    hive.RemoveKey(full, tree);
    changed = true;
    return error::Success;
  });
}

HiveBatch::HiveBatch(const Key& key) : file_(key.file_) {
  if (!file_) {
    status_ = error::InvalidHandle;
    return;
  }
  status_ = file_->BeginBatch();
  open_ = status_ == error::Success;
}

HiveBatch::~HiveBatch() { Commit(); }

Status HiveBatch::Commit() {
  if (!open_) return status_;
  open_ = false;
  return file_->EndBatch();
}

}  // namespace clangor::registry
