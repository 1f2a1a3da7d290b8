#include "installer/steps/dot_net_check.h"

#include "installer/package/default_messages.h"
#include "platform/registry.h"

namespace clangor::outfit {

namespace {

struct DotNetVersion {
  std::uint8_t flag;
  const char* version;
  const char* key;
  const char* value;
};

constexpr DotNetVersion Versions[] = {
    {0x20, "4.0", "Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client", "Install"},
    {0x10, "3.5", "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Install"},
    {0x08, "3.0", "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.0\\Setup", "InstallSuccess"},
    {0x04, "2.0", "Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727", "Install"},
    {0x02, "1.1", "Software\\Microsoft\\NET Framework Setup\\NDP\\v1.1.4322", "Install"},
    {0x01, "1.0", "Software\\Microsoft\\.NETFramework\\policy\\v1.0", "Install"},
};

bool Installed(const DotNetVersion& v) {
  registry::Key key;
  if (registry::Key::Root(registry::HiveId::LocalMachine).Open(v.key, registry::Access::Read, key) != 0) return false;
  if (v.flag == 0x01) {  // 1.0 keeps its build as text
    std::string text;
    return key.GetString(v.value, text) == 0 && text == "3321-3705";
  }
  std::uint32_t value = 0;
  return key.GetDword(v.value, value) == 0 && value == 1;
}

}  // namespace

std::optional<std::string> MissingDotNetVersion(std::uint8_t flags) {
  const char* newest = nullptr;
  for (const auto& v : Versions) {
    if (!(flags & v.flag)) continue;
    if (Installed(v)) return std::nullopt;
    if (!newest) newest = v.version;
  }
  return newest ? newest : "??.??";
}

std::string DotNetNotice(const SetupPackage& package, const std::string& version, bool installerStarted) {
  std::string text = FormatMessage(package.Message(message::DotNetRequired), {version});
  if (installerStarted) return text + "\n" + package.Message(message::DotNetStarting);
  std::string address = package.dotNet.downloadAddress;
  if (address.empty()) return text;
  if (address == DefaultDotNetPage) address += "?v=" + version;
  return text + "\n" + FormatMessage(package.Message(message::DotNetDownload), {address});
}

}  // namespace clangor::outfit
