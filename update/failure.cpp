// The message the user is shown for each way an update fails.
#include "update/failure.h"

#include "chart/files/chart_file_set.h"

namespace update {
namespace {

// The folder module's kinds and the update's, side by side.
struct FolderKind {
    folder::Failure::Kind folder;
    FailureKind update;
};
constexpr FolderKind kFolderKinds[] = {
    {folder::Failure::Kind::WriteFailed, FailureKind::WriteFailed},
    {folder::Failure::Kind::ReadFailed, FailureKind::ReadFailed},
    {folder::Failure::Kind::FolderNotWritable, FailureKind::FolderNotWritable},
    {folder::Failure::Kind::NotAFile, FailureKind::NotAFile},
    {folder::Failure::Kind::NameTaken, FailureKind::NameTaken},
    {folder::Failure::Kind::MarkerDamaged, FailureKind::MarkerDamaged},
    {folder::Failure::Kind::AnotherCopyUpdating, FailureKind::AnotherCopyUpdating},
    {folder::Failure::Kind::Cancelled, FailureKind::Cancelled},
};

// A failure of the chart folder's, told in the folder module's words.
std::optional<std::string> FolderReason(const Failure& f) {
    for (const FolderKind& kind : kFolderKinds)
        if (kind.update == f.kind) return folder::Reason(folder::MakeFailure(kind.folder, f.detail, f.error));
    return std::nullopt;
}

std::string SizeInWords(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = 1024u * 1024u;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string Reason(const Failure& f) {
    if (auto words = FolderReason(f)) return *words;
    switch (f.kind) {
    case FailureKind::ClientNotCreated:
        if (!f.detail.empty()) {
            return "the connection to the data server could not be set up (" + f.detail + ").";
        }
        return "the connection to the data server could not be set up.";
    case FailureKind::ModuleDamaged:
        return "the connection to the data server could not be set up (" + f.detail +
               " is cut short or damaged).";
    case FailureKind::NoProgramFolder:
        return "the connection to the data server could not be set up (" + f.detail +
               " cannot be found: the program's own folder is not known).";
    case FailureKind::OptionRefused:
        return "the connection to the data server could not be set up (the installed libcurl "
               "refuses the option " + f.detail + ").";
    case FailureKind::HostNotFound:
        return "the data server's host \"" + f.detail + "\" was not found.";
    case FailureKind::ConnectionRefused:
        return "the data server refused the connection.";
    case FailureKind::ServerUnreachable:
        return "the data server could not be reached.";
    case FailureKind::NoAnswerInTime:
        return "the data server did not answer in time.";
    case FailureKind::ClosedWithoutAnswer:
        return "the data server closed the connection without answering.";
    case FailureKind::ConnectionReset:
        return "the connection to the data server was broken off.";
    case FailureKind::HttpStatus:
        if (f.redirect) {
            return "the data server answered " + f.urlPath + " with HTTP status " +
                   std::to_string(f.status) + " and a redirection.";
        }
        if (!f.detail.empty()) {
            return "the data server answered with HTTP status " + std::to_string(f.status) +
                   " for " + f.urlPath + ". It was a redirect to " + f.detail +
                   ", which an update does not follow.";
        }
        return "the data server answered with HTTP status " + std::to_string(f.status) +
               " for " + f.urlPath + ".";
    case FailureKind::CertificateUntrusted:
        return "the data server's certificate is not from a trusted authority.";
    case FailureKind::CertificateForAnotherHost:
        return "the data server's certificate was made for another host.";
    case FailureKind::CertificateExpired:
        return "the data server's certificate has expired.";
    case FailureKind::CertificateNotYetValid:
        return "the data server's certificate is not valid yet.";
    case FailureKind::OldTls:
        return "the data server offers only an outdated TLS version (older than 1.2).";
    case FailureKind::TlsFailed:
        return "a secure connection to the data server could not be set up.";
    case FailureKind::NotUnderstood:
        return "the data server's answer for " + f.urlPath + " was not understood.";
    case FailureKind::CutShort:
        return "the transfer of " + f.urlPath + " was cut short.";
    case FailureKind::TooLarge:
        return "the download of " + f.urlPath + " was larger than " + SizeInWords(f.limit) + ".";
    case FailureKind::NotAChart:
        return "the data server did not send a chart.";
    case FailureKind::NotSigned:
        return chart::RefusalReason(chart::ReleaseRefusal::Kind::NotSigned);
    case FailureKind::OlderChart:
        return chart::RefusalReason(chart::ReleaseRefusal::Kind::OlderChart);
    case FailureKind::MixedRelease:
        return chart::RefusalReason(chart::ReleaseRefusal::Kind::MixedRelease);
    case FailureKind::FutureChart:
        return chart::RefusalReason(chart::ReleaseRefusal::Kind::FutureChart);
    case FailureKind::WriteFailed:  // the chart folder's, told above
    case FailureKind::ReadFailed:
    case FailureKind::FolderNotWritable:
    case FailureKind::NotAFile:
    case FailureKind::NameTaken:
    case FailureKind::MarkerDamaged:
    case FailureKind::AnotherCopyUpdating:
    case FailureKind::Cancelled:
    case FailureKind::Other:
        break;
    }
    return "the download of " + f.urlPath + " failed (" + f.detail + ").";
}

}  // namespace

Failure ReleaseFailure(const chart::ReleaseRefusal& refusal) {
    using Kind = chart::ReleaseRefusal::Kind;
    switch (refusal.kind) {
    case Kind::NotSigned:
        return MakeFailure(FailureKind::NotSigned, chart::kChartFileTable[refusal.file].urlPath);
    case Kind::MixedRelease:
        return MakeFailure(FailureKind::MixedRelease);
    case Kind::FutureChart:
        return MakeFailure(FailureKind::FutureChart);
    case Kind::OlderChart:
        break;
    }
    return MakeFailure(FailureKind::OlderChart);
}

Failure FromFolder(const folder::Failure& failure) {
    FailureKind kind = FailureKind::WriteFailed;
    for (const FolderKind& each : kFolderKinds)
        if (each.folder == failure.kind) kind = each.update;
    Failure f = MakeFailure(kind);
    f.detail = failure.path;
    f.error = failure.error;
    return f;
}

std::optional<Failure> FromFolder(const std::optional<folder::Failure>& failure) {
    if (!failure) return std::nullopt;
    return FromFolder(*failure);
}

std::string FailureMessage(const Failure& failure) {
    return chart::kUpdateFailedPrefix + Reason(failure);
}

}  // namespace update
