#pragma once
// HTTPS for the tests: certificates made for one run, and a TLS server on
// loopback (tls_relay.py beside this file) that serves what a ScriptedServer
// behind it answers.
#include <string>

#include "support/child_process.h"
#include "support/scripted_server.h"

namespace support {

// Writes ca.pem and the certificates of make_tls_certificates.sh into directory.
void MakeTlsCertificates(const std::string& directory);

class TlsRelay {
public:
    // certificate: one of MakeTlsCertificates' (its key is good.key beside it).
    // oldTls: speaks TLS 1.0 and 1.1 only.
    TlsRelay(const std::string& certificate, const ScriptedServer& backend, bool oldTls = false);

    std::string Base() const { return "https://127.0.0.1:" + port_; }

private:
    ChildProcess relay_;
    std::string port_;
};

}  // namespace support
