#include "installer/steps/machine_registry.h"

#include <cstdio>
#include <filesystem>

#include "platform/registry.h"

namespace clangor::outfit {

namespace {

using registry::Key;

Key Machine() { return Key::Root(registry::HiveId::LocalMachine); }

bool OpenForWriting(const std::string& key, Key& result) {
  return Machine().Create(key, registry::Access::ReadWrite, result) == registry::error::Success;
}

// The list is a multi-string of pairs: from, to, from, to ...
std::vector<std::uint8_t> EncodePairs(const std::vector<PendingRename>& renames) {
  std::vector<std::uint8_t> data;
  for (const auto& r : renames)
    for (const std::string* s : {&r.from, &r.to}) {
      data.insert(data.end(), s->begin(), s->end());
      data.push_back(0);
    }
  data.push_back(0);
  return data;
}

void StorePendingRenames(const std::vector<PendingRename>& renames) {
  Key key;
  if (!OpenForWriting(SessionManagerKey, key)) return;
  if (renames.empty()) {
    key.DeleteValue(PendingRenamesValue);
    return;
  }
  auto data = EncodePairs(renames);
  key.SetValue(PendingRenamesValue, registry::ValueType::MultiString, data);
}

}  // namespace

std::optional<std::uint32_t> SharedCount(const std::string& path) {
  Key key;
  std::uint32_t count = 0;
  if (Machine().Open(SharedDllsKey, registry::Access::Read, key) != 0 || key.GetDword(path, count) != 0)
    return std::nullopt;
  return count;
}

void SetSharedCount(const std::string& path, std::uint32_t count) { SetMachineDword(SharedDllsKey, path, count); }

void RemoveSharedCount(const std::string& path) { DeleteMachineValue(SharedDllsKey, path); }

std::vector<PendingRename> PendingRenames() {
  Key key;
  registry::Value value;
  if (Machine().Open(SessionManagerKey, registry::Access::Read, key) != 0 || key.GetValue(PendingRenamesValue, value) != 0)
    return {};
  std::vector<std::string> strings;
  std::string current;
  for (std::uint8_t b : value.data) {
    if (b) {
      current += static_cast<char>(b);
      continue;
    }
    strings.push_back(current);
    current.clear();
  }
  std::vector<PendingRename> renames;
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2)
    if (!strings[i].empty()) renames.push_back({strings[i], strings[i + 1]});
  return renames;
}

void AddPendingRename(const PendingRename& rename) {
  auto renames = PendingRenames();
  // A delete goes first, as the system's list has them, so that a file is
  // removed before another takes its name.
  if (rename.to.empty()) renames.insert(renames.begin(), rename);
  else renames.push_back(rename);
  StorePendingRenames(renames);
}

int CarryOutPendingRenames() {
  auto renames = PendingRenames();
  if (renames.empty()) return 0;
  std::vector<PendingRename> left;
  int done = 0;
  for (const auto& r : renames) {
    std::error_code ec;
    if (r.to.empty()) std::filesystem::remove(r.from, ec);
    else std::filesystem::rename(r.from, r.to, ec);
    if (ec && std::filesystem::exists(r.from)) left.push_back(r);
    else ++done;
  }
  StorePendingRenames(left);
  return done;
}

bool SetMachineString(const std::string& key, const std::string& name, const std::string& value) {
  Key k;
  return OpenForWriting(key, k) && k.SetString(name, value) == 0;
}

bool SetMachineDword(const std::string& key, const std::string& name, std::uint32_t value) {
  Key k;
  return OpenForWriting(key, k) && k.SetDword(name, value) == 0;
}

std::optional<std::string> MachineString(const std::string& key, const std::string& name) {
  Key k;
  std::string value;
  if (Machine().Open(key, registry::Access::Read, k) != 0 || k.GetString(name, value) != 0) return std::nullopt;
  return value;
}

void DeleteMachineValue(const std::string& key, const std::string& name) {
  Key k;
  if (Machine().Open(key, registry::Access::ReadWrite, k) != 0) return;
  k.DeleteValue(name);
  std::vector<std::string> values, subKeys;
  if (k.ValueNames(values) == 0 && k.SubKeyNames(subKeys) == 0 && values.empty() && subKeys.empty()) {
    k.Close();
    Machine().DeleteSubKey(key);
  }
}

}  // namespace clangor::outfit
