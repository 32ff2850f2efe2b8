// A release as a publisher makes it: `vantrel-chart sign` signs the three
// served files, `check --public-key` finds nothing wrong, and a viewer built
// with the key takes them at its Update, keeping the signatures.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/minisign_key.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

using ToolSignedUpdateTest = ChartDirTest;

TEST_F(ToolSignedUpdateTest, SignedByTheToolCheckedAndTaken) {
    // A chart check finds no error in: the tool signs nothing else.
    const support::TempDir release("vantrel-release");
    for (const char* name : {"data.dat", "policy.dat", "version.dat"})
        release.Write(name, TestData(std::string("publisher/check/base/") + name));
    const support::MinisignKey key;
    ASSERT_TRUE(support::RunProgram(
        {VANTREL_CHART_TOOL, "sign", "-s", key.SecretKeyFile(), "-p", key.PublicKeyFile(), release.Path()}));
    ASSERT_TRUE(support::RunProgram({VANTREL_CHART_TOOL, "check", "--public-key", key.PublicKeyFile(), release.Path()}));

    ScriptedServer server;
    for (const char* name : {"data.dat", "policy.dat", "version.dat"}) {
        server.On(std::string("/") + name, {Send(Ok(release.Read(name)))});
        server.On(std::string("/") + name + ".minisig", {Send(Ok(release.Read(std::string(name) + ".minisig")))});
    }
    auto settings = Settings(server.Base());
    settings.publisherKey = key.PublicKey();
    Run(settings);
    EXPECT_EQ(port_.Calls(), kSucceeded);
    for (const char* name : {"data", "policy", "version"}) {
        EXPECT_EQ(ReadBytes(dir_ / name), release.Read(std::string(name) + ".dat")) << name;
        EXPECT_EQ(ReadBytes(dir_ / (std::string(name) + ".minisig")), release.Read(std::string(name) + ".dat.minisig"));
    }
}

}  // namespace
}  // namespace update_test
