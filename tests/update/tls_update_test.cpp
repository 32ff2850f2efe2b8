// An update from an HTTPS data server, against certificates made for this
// run: only a trusted certificate for the server's own name, still valid,
// over TLS 1.2 or later, lands the chart; each refusal says what was wrong.
#include <gtest/gtest.h>

#include "support/tls_relay.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

struct TlsCase {
    const char* name;
    const char* certificate;  // made by MakeTlsCertificates
    bool oldTls;
    std::string message;  // empty: the chart lands
};

const TlsCase kCases[] = {
    {"ValidCertificate", "good.pem", false, ""},
    {"UnknownAuthority", "unknown.pem", false,
     "The update failed: the data server's certificate is not from a trusted authority."},
    {"AnotherHostsCertificate", "other-host.pem", false,
     "The update failed: the data server's certificate was made for another host."},
    {"ExpiredCertificate", "expired.pem", false, "The update failed: the data server's certificate has expired."},
    {"OnlyTlsBelow12", "good.pem", true,
     "The update failed: the data server offers only an outdated TLS version (older than 1.2)."},
};

void PrintTo(const TlsCase& c, std::ostream* os) { *os << c.name; }

class TlsUpdateTest : public ChartDirTest, public ::testing::WithParamInterface<TlsCase> {
protected:
    static void SetUpTestSuite() {
        certificates_ = new support::TempDir("vantrel-tls");
        support::MakeTlsCertificates(certificates_->Path());
    }
    static void TearDownTestSuite() {
        delete certificates_;
        certificates_ = nullptr;
    }
    static inline support::TempDir* certificates_ = nullptr;
};

TEST_P(TlsUpdateTest, OnlyATrustedCurrentCertificateForTheHostLandsTheChart) {
    const TlsCase& c = GetParam();
    ScriptedServer server;
    ServeChart(server);
    const support::TlsRelay relay(certificates_->Path() + "/" + c.certificate, server, c.oldTls);
    auto settings = Settings(relay.Base());
    settings.caFile = certificates_->Path() + "/ca.pem";
    Run(settings);

    if (c.message.empty()) {
        EXPECT_EQ(port_.Calls(), kSucceeded);
        EXPECT_EQ(ReadBytes(dir_ / "data"), kChartData);
        EXPECT_EQ(ReadBytes(dir_ / "policy"), kChartPolicy);
        EXPECT_EQ(ReadBytes(dir_ / "version"), kChartVersion);
        // Every request says who is asking.
        const auto heads = server.RequestHeads();
        ASSERT_EQ(heads.size(), 3u);
        for (const std::string& head : heads) {
            EXPECT_NE(head.find("\r\nUser-Agent: Vantrel/1.0\r\n"), std::string::npos) << head;
        }
    } else {
        EXPECT_EQ(port_.Calls(), kFailedOnData);
        EXPECT_EQ(Message(), c.message);
        ExpectUntouched();
        EXPECT_TRUE(server.RequestedPaths().empty());
    }
    ExpectNoStagingFiles();
}

INSTANTIATE_TEST_SUITE_P(Certificates, TlsUpdateTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace update_test
