// `vantrel-chart sign`: the three served files signed as one release.
#include "publisher/sign_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

#include "chart/files/chart_file_set.h"
#include "chart/files/unique_fd.h"
#include "chart/verify/chart_release.h"
#include "publisher/check_command.h"
#include "publisher/minisign_run.h"
#include "publisher/password_prompt.h"
#include "publisher/public_key.h"
#include "publisher/release_date.h"
#include "publisher/text_output.h"

namespace publisher {
namespace {

constexpr std::size_t kFiles = PublisherFolder::kFiles;
// A signature file is never much more than minisign's trusted comment of at
// most 8 KiB.
constexpr std::uint64_t kSignatureFileCap = 16 * 1024;

std::string Why(int error) { return std::strerror(error); }

// A new file at path holding bytes, never through a link or over a file.
bool WriteNewFile(const std::string& path, const std::string& bytes) {
    chart::UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) break;
        done += static_cast<std::size_t>(wrote);
    }
    const bool whole = done == bytes.size() && ::fsync(file.Get()) == 0 && file.Close() == 0;
    if (!whole) ::unlink(path.c_str());
    return whole;
}

// The three signatures of one release on their way into place: each written
// under a name of its own first (".data.dat.minisig.new"), then all renamed.
class Release {
public:
    explicit Release(const PublisherFolder& folder) : folder_(folder) {
        for (std::size_t file = 0; file < kFiles; ++file)
            made_[file] = folder.Directory() + "/." + folder.SignatureName(file) + ".new";
    }
    ~Release() { Discard(); }
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;

    const std::string& New(std::size_t file) const { return made_[file]; }
    // Before minisign writes it: nothing of anyone's is written through.
    void Begin(std::size_t file) {
        ::unlink(made_[file].c_str());
        begun_[file] = true;
    }
    // What each signature there is now holds, to be put back; the reason
    // when one cannot be read.
    std::optional<std::string> KeepThoseBefore() {
        for (std::size_t file = 0; file < kFiles; ++file) {
            const FileRead before = ReadBounded(folder_.SignaturePath(file), kSignatureFileCap);
            if (before.bytes) before_[file] = before.bytes;
            else if (before.why != "no such file")
                return folder_.SignatureName(file) + " cannot be kept to be put back (" + before.why + ")";
        }
        return std::nullopt;
    }
    // Every new signature into place; on a failure, those put in place before
    // it are put back as they were. The failure's words, or nothing.
    std::optional<std::string> PutInPlace() {
        for (std::size_t file = 0; file < kFiles; ++file) {
            if (::rename(made_[file].c_str(), folder_.SignaturePath(file).c_str()) == 0) {
                begun_[file] = false;
                continue;
            }
            const std::string failure = folder_.SignatureName(file) + " cannot be put in place (" + Why(errno) + ")";
            for (std::size_t back = 0; back < file; ++back) PutBack(back);
            return failure;
        }
        return std::nullopt;
    }
    // Every file of its own removed; those that could not be, by path.
    void Discard() {
        for (std::size_t file = 0; file < kFiles; ++file) {
            if (!begun_[file]) continue;
            if (::unlink(made_[file].c_str()) != 0 && errno != ENOENT) left_.push_back(made_[file]);
            begun_[file] = false;
        }
    }
    // What is left that is not as it was: files of its own, signatures of
    // the new release among the old.
    const std::vector<std::string>& Left() const { return left_; }

private:
    void PutBack(std::size_t file) {
        const std::string place = folder_.SignaturePath(file);
        const bool back = before_[file] ? WriteNewFile(made_[file], *before_[file]) &&
                                              ::rename(made_[file].c_str(), place.c_str()) == 0
                                        : ::unlink(place.c_str()) == 0;
        if (!back) {
            left_.push_back(place + " (the new release's)");
            ::unlink(made_[file].c_str());
        }
    }

    const PublisherFolder& folder_;
    std::array<std::string, kFiles> made_;
    std::array<bool, kFiles> begun_{};
    std::array<std::optional<std::string>, kFiles> before_;
    std::vector<std::string> left_;
};

// "; left as they are: A, B (remove them by hand)", or nothing.
std::string LeftOnes(const Release& release) {
    const auto& left = release.Left();
    if (left.empty()) return {};
    std::string text = "; left behind: ";
    for (std::size_t i = 0; i < left.size(); ++i) text += (i ? ", " : "") + ForTerminal(left[i]);
    return text;
}

}  // namespace

int RunSign(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::string& directory = args.folders[0];
    const PublisherFolder folder(directory);
    if (!folder.AllServed())
        throw UsageError("'sign' takes a folder of the served names (data.dat, policy.dat, version.dat): the "
                         "signatures name them");
    // Read first, so that a key that is none stops before anything is signed.
    const SecretKey secretKey = ReadSecretKey(args.secretKey);
    const std::string publicKey = args.publicKey.empty() ? std::string() : ReadPublicKey(args.publicKey);
    const auto minisign = FindMinisign(std::getenv("PATH"));
    if (!minisign) throw UsageError("'sign' runs minisign, which is not installed (the Debian package minisign)");

    const std::uint64_t now = Now();
    if (!args.served.empty()) {
        const auto served = ReleaseDate(PublisherFolder(args.served), publicKey);
        if (served && *served > now) {
            err << "vantrel-chart: the chart is not signed: the served release is dated " << DateText(*served)
                << ", after this computer's clock (" << DateText(now) << "): readers who hold it would refuse "
                << "this release, with \"" << chart::kUpdateFailedPrefix
                << chart::RefusalReason(chart::ReleaseRefusal::Kind::OlderChart) << "\" (is the clock right?)\n";
            return 1;
        }
    }
    const auto findings = CheckForThisViewer(directory, {}, args.served).findings;
    if (HasError(findings)) {
        for (const Finding& finding : findings) err << CompilerLine(finding) << '\n';
        if (!args.force) {
            err << "vantrel-chart: the chart is not signed: check finds an error in it (--force signs it all the same)\n";
            return 1;
        }
    }

    const StopSignals stop;
    std::optional<SecretText> password;
    if (secretKey.encrypted) {
        password.emplace(AskPassword("Password for " + args.secretKey + ": ", stop).value_or(SecretText()));
        if (stop.Caught()) stop.EndAsAsked();
        if (password->Text().empty()) {
            err << "vantrel-chart: no password was given: nothing was signed\n";
            return 1;
        }
    }

    Release release(folder);
    for (std::size_t file = 0; file < kFiles; ++file) {
        const std::string name = chart::kChartFileTable[file].Served();
        release.Begin(file);
        const MinisignRun run = RunMinisign(
            *minisign,
            {"-S", "-s", args.secretKey, "-x", release.New(file), "-m", folder.Path(file), "-t",
             "timestamp:" + std::to_string(now) + "\tfile:" + name},
            password ? &password->Text() : nullptr, stop);
        if (stop.Caught()) {
            release.Discard();
            stop.EndAsAsked();
        }
        if (run.status != 0) {
            release.Discard();
            err << "vantrel-chart: minisign could not sign " << name
                << (run.status < 0 ? std::string(" (it could not be started)")
                                   : " (exit status " + std::to_string(run.status) + ")")
                << (run.said.empty() ? std::string() : ": " + ForTerminal(run.said)) << ": nothing was signed"
                << LeftOnes(release) << '\n';
            return 1;
        }
    }
    if (const auto failure = release.KeepThoseBefore()) {
        release.Discard();
        err << "vantrel-chart: " << ForTerminal(*failure) << ": nothing was signed" << LeftOnes(release) << '\n';
        return 1;
    }
    std::optional<std::string> failure;
    {
        // The three renames go together: a stop signal waits for them.
        const StopSignals::Held together;
        failure = release.PutInPlace();
        release.Discard();
    }
    if (failure) {
        err << "vantrel-chart: " << ForTerminal(*failure)
            << (release.Left().empty() ? ": the signatures are as they were; nothing was signed\n"
                                       : ", and not every signature could be put back as it was" + LeftOnes(release) +
                                             "\n");
        return 1;
    }
    out << "signed data.dat, policy.dat and version.dat as one release (timestamp " << now << ", " << DateText(now)
        << ")\n";
    if (stop.Caught()) stop.EndAsAsked();
    if (publicKey.empty()) return 0;
    const auto signedFindings = CheckForThisViewer(directory, publicKey, args.served).findings;
    for (const Finding& finding : signedFindings) out << CompilerLine(finding) << '\n';
    return HasError(signedFindings) ? 1 : 0;
}

}  // namespace publisher
