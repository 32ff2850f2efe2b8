#pragma once
// What one update run is given: where to fetch from, where the chart's files
// live, and the limits that keep a silent or runaway server from hanging it.
#include <chrono>
#include <cstdint>
#include <string>

#include "chart/files/chart_file_set.h"
#include "update/data_server.h"
#include "update/trust_anchors.h"

namespace update {

// No download larger than the chart's readers would accept.
inline constexpr std::uint64_t kBodyCap = chart::kChartFileSizeCap;

struct UpdateSettings {
    // "http://host" or "https://host[:port]"; the three paths are appended.
    std::string baseUrl = kDataServer;
    // Where "data", "policy" and "version" live.
    std::string chartDirectory;
    // Name resolution, TCP connect and TLS handshake together.
    std::chrono::milliseconds connectTimeout{15000};
    // Once connected, a transfer that receives no byte for this long fails.
    std::chrono::milliseconds stallTimeout{30000};
    // The whole run, however the server trickles: an update not done by then
    // fails as not answered in time.
    std::chrono::milliseconds updateDeadline{120000};
    // A body larger than this fails; nothing larger is written.
    std::uint64_t bodyCap = kBodyCap;
    // The publisher's minisign public key ("RW..."): when set, each file's
    // signature is fetched too and only a chart it signed is put in place.
    std::string publisherKey = kChartPublicKey;
    // Certificate authorities for an HTTPS data server; empty: the system's.
    std::string caFile = kTrustedCaFile;
};

}  // namespace update
