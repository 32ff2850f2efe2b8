// HTTPS for the tests: certificates made per run, and the TLS relay in front of a ScriptedServer.
#include "support/tls_relay.h"

#include <filesystem>
#include <stdexcept>

namespace support {
namespace {

std::vector<std::string> RelayCommand(const std::string& certificate, const ScriptedServer& backend,
                                      bool oldTls) {
    const std::string base = backend.Base();
    std::vector<std::string> argv{
        "python3", VANTREL_TEST_SUPPORT_DIR "/tls_relay.py", certificate,
        (std::filesystem::path(certificate).parent_path() / "good.key").string(),
        base.substr(base.rfind(':') + 1)};
    if (oldTls) argv.push_back("--old-tls");
    return argv;
}

}  // namespace

void MakeTlsCertificates(const std::string& directory) {
    if (!RunProgram({"bash", VANTREL_TEST_SUPPORT_DIR "/make_tls_certificates.sh", directory})) {
        throw std::runtime_error("the test certificates could not be made");
    }
}

TlsRelay::TlsRelay(const std::string& certificate, const ScriptedServer& backend, bool oldTls)
    : relay_(RelayCommand(certificate, backend, oldTls)), port_(relay_.FirstLine()) {
    if (port_.empty()) throw std::runtime_error("the TLS relay did not start");
}

}  // namespace support
