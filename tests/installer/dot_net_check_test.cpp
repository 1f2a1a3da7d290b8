#include <gtest/gtest.h>

#include "installer/steps/dot_net_check.h"
#include "installer/steps/machine_registry.h"
#include "tests/installer/redirected_root.h"
#include "tests/installer/sample_package.h"

namespace clangor::outfit {
namespace {

using testing::RedirectedRoot;

TEST(DotNetCheck, TheNewestAcceptableVersionDecides) {
  RedirectedRoot root;
  EXPECT_EQ(MissingDotNetVersion(0x00), "??.??");
  EXPECT_EQ(MissingDotNetVersion(0x3F), "4.0");
  EXPECT_EQ(MissingDotNetVersion(0x0C), "3.0");
  SetMachineDword("Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727", "Install", 1);
  SetMachineDword("Software\\Microsoft\\NET Framework Setup\\NDP\\v3.0\\Setup", "Install", 1);  // wrong value name
  SetMachineString("Software\\Microsoft\\.NETFramework\\policy\\v1.0", "Install", "3321-3705");
  struct Case {
    std::uint8_t flags;
    std::optional<std::string> missing;
  } cases[] = {{0x0C, std::nullopt}, {0x08, "3.0"}, {0x30, "4.0"}, {0x01, std::nullopt}, {0x02, "1.1"}};
  for (const auto& c : cases) EXPECT_EQ(MissingDotNetVersion(c.flags), c.missing) << int(c.flags);
}

TEST(DotNetCheck, TheNoticeNamesTheVersionAndWhereToGetIt) {
  testing::SamplePackage sample;
  SetupPackage& p = sample.package;
  p.dotNet.downloadAddress = DefaultDotNetPage;
  EXPECT_EQ(DotNetNotice(p, "4.0", false),
            "This program needs the .NET Framework 4.0 or later.\nYou can download the .NET Framework from " +
                std::string(DefaultDotNetPage) + "?v=4.0");
  p.dotNet.downloadAddress = "https://example.invalid/net";
  EXPECT_EQ(DotNetNotice(p, "3.5", false),
            "This program needs the .NET Framework 3.5 or later.\nYou can download the .NET Framework from "
            "https://example.invalid/net");
  EXPECT_EQ(DotNetNotice(p, "3.5", true),
            "This program needs the .NET Framework 3.5 or later.\nThe .NET Framework installer is being started.");
}

}  // namespace
}  // namespace clangor::outfit
