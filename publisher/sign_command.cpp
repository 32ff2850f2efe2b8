#include "publisher/sign_command.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <vector>

#include "chart/files/chart_file_set.h"
#include "publisher/chart_check.h"
#include "publisher/check_command.h"
#include "publisher/public_key.h"

extern char** environ;

namespace publisher {
namespace {

// minisign on the PATH, or nothing.
std::optional<std::string> FindMinisign() {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string folder(rest.substr(0, colon));
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/minisign";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

// Runs minisign with the terminal as it is (its password prompt comes
// through); its exit status, or -1 when it could not be started.
int RunMinisign(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int RunSign(const Arguments& args, std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    const std::string& directory = args.folders[0];
    const PublisherFolder folder(directory);
    if (!folder.AllServed())
        throw UsageError("'sign' takes a folder of the served names (data.dat, policy.dat, version.dat): the "
                         "signatures name them");
    if (::access(args.secretKey.c_str(), R_OK) != 0)
        throw UsageError("the secret key '" + args.secretKey + "' cannot be read");
    // Read first, so that a key that is none stops before anything is signed.
    const std::string publicKey = args.publicKey.empty() ? std::string() : ReadPublicKey(args.publicKey);
    const auto minisign = FindMinisign();
    if (!minisign) throw UsageError("'sign' runs minisign, which is not installed (the Debian package minisign)");

    const auto findings = CheckForThisViewer(directory, {});
    if (HasError(findings)) {
        for (const Finding& finding : findings) err << CompilerLine(finding) << '\n';
        if (!args.force) {
            err << "vantrel-chart: the chart is not signed: check finds an error in it (--force signs it all the same)\n";
            return 1;
        }
    }

    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    std::vector<std::pair<std::string, std::string>> made;  // new signature, its place
    const auto discard = [&] {
        for (const auto& [signature, place] : made) fs::remove(signature);
    };
    for (std::size_t file = 0; file < chart::kChartFileTable.size(); ++file) {
        const std::string name = chart::kChartFileTable[file].Served();
        const std::string place = folder.SignaturePath(file);
        const std::string signature = directory + "/." + folder.SignatureName(file) + ".new";
        made.emplace_back(signature, place);
        const int status = RunMinisign(*minisign, {"-S", "-s", args.secretKey, "-x", signature, "-m",
                                                    folder.Path(file), "-t",
                                                    "timestamp:" + std::to_string(now) + "\tfile:" + name});
        if (status != 0) {
            discard();
            err << "vantrel-chart: minisign could not sign " << name
                << (status < 0 ? std::string(" (it could not be started)") : " (exit status " + std::to_string(status) + ")")
                << ": nothing was signed\n";
            return 1;
        }
    }
    for (const auto& [signature, place] : made) {
        std::error_code error;
        fs::rename(signature, place, error);
        if (error) {
            discard();
            err << "vantrel-chart: " << place << " cannot be written (" << error.message() << ")\n";
            return 1;
        }
    }
    out << "signed data.dat, policy.dat and version.dat as one release (timestamp " << now << ")\n";
    if (publicKey.empty()) return 0;
    const auto signedFindings = CheckForThisViewer(directory, publicKey);
    for (const Finding& finding : signedFindings) out << CompilerLine(finding) << '\n';
    return HasError(signedFindings) ? 1 : 0;
}

}  // namespace publisher
