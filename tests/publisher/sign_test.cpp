// `vantrel-chart sign` as a publisher runs it, a password asked for on a
// pseudo-terminal the test answers; refusals and failures leave the signatures
// there were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "publisher/arguments.h"
#include "publisher/release_date.h"
#include "publisher/sign_command.h"
#include "support/child_process.h"
#include "support/minisign_key.h"
#include "support/system_call_faults.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kPassword = "correct horse";

// The base chart under the served names, in a folder of its own.
void WriteRelease(const support::TempDir& folder) {
    for (const char* file : {"data.dat", "policy.dat", "version.dat"})
        fs::copy_file(support::TestDataPath(std::string("publisher/check/base/") + file), folder.Dir() / file);
}

// Every file of a folder and its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) contents[entry.path().filename()] = support::ReadFile(entry.path());
    return contents;
}

// A key pair kept under kPassword, as `minisign -G` makes it when asked.
class PasswordKey {
public:
    PasswordKey() {
        const auto made = support::RunInChild(
            [&] {
                int input[2];
                if (::pipe(input) != 0) return 1;
                const std::string answers = std::string(kPassword) + "\n" + kPassword + "\n";
                if (::write(input[1], answers.data(), answers.size()) != static_cast<ssize_t>(answers.size())) return 1;
                ::close(input[1]);
                ::dup2(input[0], 0);
                const int null = ::open("/dev/null", O_WRONLY);
                ::dup2(null, 1);
                ::execlp("minisign", "minisign", "-G", "-p", PublicFile().c_str(), "-s", SecretFile().c_str(), nullptr);
                return 127;
            },
            support::kChildDeadline);
        if (!made.finished || made.exitCode != 0) throw std::runtime_error("minisign -G failed: " + made.Describe());
    }
    std::string PublicFile() const { return dir_.Path() + "/key.pub"; }
    std::string SecretFile() const { return dir_.Path() + "/key.key"; }

private:
    support::TempDir dir_{"vantrel-password-key"};
};

// vantrel-chart on a pseudo-terminal: what it writes there is read as it
// comes, every read bounded.
class TerminalRun {
public:
    explicit TerminalRun(const std::vector<std::string>& args) {
        pid_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            std::vector<char*> argv{const_cast<char*>(VANTREL_CHART_TOOL)};
            for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~TerminalRun() {
        if (pid_ > 0 && !status_) support::WaitForExit(pid_, 0ms);
        if (terminal_ >= 0) ::close(terminal_);
    }
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    // Reads until the text has been written, or the terminal closes, or the
    // deadline passes; whether it came.
    // An empty text: until the terminal closes.
    bool ReadUntil(const std::string& text, std::chrono::milliseconds deadline) {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (text.empty() || said_.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left <= 0ms) return false;
            pollfd ready{terminal_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[512];
            const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
            if (got <= 0) return text.empty() || said_.find(text) != std::string::npos;  // the other side closed
            said_.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }
    void Type(const std::string& keys) { ASSERT_EQ(::write(terminal_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }
    // Its wait status once it has ended (reading what it writes meanwhile,
    // up to the terminal's closing).
    int Ended() {
        ReadUntil({}, support::kChildDeadline);
        status_ = support::WaitForExit(pid_, support::kChildDeadline);
        EXPECT_TRUE(status_.has_value()) << "still running";
        return status_.value_or(-1);
    }
    const std::string& Said() const { return said_; }

private:
    int terminal_ = -1;
    pid_t pid_ = -1;
    std::string said_;
    std::optional<int> status_;
};

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(Sign, OnePasswordPromptOnATerminal) {
    const PasswordKey key;
    struct Row {
        const char* name;
        std::string typed;  // at the prompt
        bool signs;
        const char* said;   // a part of what the terminal shows after the prompt
        int signal = 0;     // the signal that ends it, or none
    };
    const Row rows[] = {
        {"the password", std::string(kPassword) + "\n", true, "signed data.dat, policy.dat and version.dat as one release"},
        {"a wrong password", "wrong\n", false, "minisign could not sign data.dat (exit status 2): Wrong password"},
        {"Ctrl-C", "\x03", false, "", SIGINT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const support::TempDir release("vantrel-release");
        WriteRelease(release);
        const auto before = Contents(release.Dir());
        TerminalRun run({"sign", "-s", key.SecretFile(), "-p", key.PublicFile(), release.Path()});
        ASSERT_TRUE(run.ReadUntil("Password for " + key.SecretFile() + ": ", support::kChildDeadline)) << run.Said();
        run.Type(row.typed);
        const int status = run.Ended();
        EXPECT_EQ(Count(run.Said(), "Password"), 1u) << run.Said();
        EXPECT_EQ(run.Said().find(kPassword), std::string::npos) << "echoed: " << run.Said();
        EXPECT_NE(run.Said().find(row.said), std::string::npos) << run.Said();
        if (row.signal) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == row.signal) << status;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == (row.signs ? 0 : 1)) << status;
        }
        const auto after = Contents(release.Dir());
        if (!row.signs) {
            EXPECT_EQ(after, before);  // no signature, and no file of its own
            continue;
        }
        EXPECT_EQ(after.size(), 6u);
        for (const char* file : {"data.dat", "policy.dat", "version.dat"})
            EXPECT_TRUE(after.contains(std::string(file) + ".minisig")) << file;
        EXPECT_TRUE(support::RunProgram({VANTREL_CHART_TOOL, "check", "--public-key", key.PublicFile(), release.Path()}));
    }
}

// What sign refuses before it signs anything, and what a failed rename
// leaves: the folder as it was, and a message that says why.
TEST(Sign, RefusalsAndFailuresLeaveTheSignaturesThereWere) {
    const support::MinisignKey key;
    const support::TempDir scratch("vantrel-scratch");
    const std::string fifo = scratch.Path() + "/key.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    constexpr std::uint64_t kBefore = 1'750'000'000;
    struct Row {
        const char* name;
        std::string secretKey;
        const char* said;                      // the start of what it says (the usage fault's own text)
        bool usageFault = false;               // raised as a fault in the command line
        std::optional<std::int64_t> served = {};  // the served release's date, from the clock
        const char* failingRename = nullptr;   // the signature whose rename fails
        bool signs = false;
    };
    const auto now = static_cast<std::int64_t>(publisher::Now());
    const Row rows[] = {
        {"a FIFO as the secret key", fifo, "the key file '", true},
        {"the public key as the secret key", key.PublicKeyFile(), "'", true},
        {"no such key", scratch.Path() + "/none.key", "the key file '", true},
        // The timeline: the new release is dated now.
        {"the served release an hour ahead", key.SecretKeyFile(),
         "vantrel-chart: the chart is not signed: the served release is dated", false, 3600},
        {"the served release 23 hours ahead", key.SecretKeyFile(),
         "vantrel-chart: the chart is not signed: the served release is dated", false, 23 * 3600},
        {"the served release dated 0", key.SecretKeyFile(), "", false, -now, nullptr, true},
        {"the served release of the same second", key.SecretKeyFile(), "", false, 0, nullptr, true},
        {"the second rename fails", key.SecretKeyFile(),
         "vantrel-chart: policy.dat.minisig cannot be put in place (Input/output error): the signatures are as they "
         "were; nothing was signed",
         false, {}, "policy.dat.minisig"},
        {"the last rename fails", key.SecretKeyFile(),
         "vantrel-chart: version.dat.minisig cannot be put in place (Input/output error): the signatures are as they "
         "were",
         false, {}, "version.dat.minisig"},
    };
    const std::map<std::string, std::string> messages = {{"a FIFO as the secret key", "it is not a regular file"},
                                                         {"the public key as the secret key", "is a public key"},
                                                         {"no such key", "no such file"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const support::TempDir release("vantrel-release"), served("vantrel-served");
        WriteRelease(release);
        // Signed once before: the signatures a failure must leave whole.
        for (const char* file : {"data.dat", "policy.dat", "version.dat"})
            release.Write(std::string(file) + ".minisig", key.Sign(release.Read(file), kBefore, file));
        WriteRelease(served);
        for (const char* file : {"data.dat", "policy.dat", "version.dat"})
            served.Write(std::string(file) + ".minisig",
                         key.Sign(served.Read(file), static_cast<std::uint64_t>(now + row.served.value_or(0)), file));
        const auto before = Contents(release.Dir());

        publisher::Arguments args;
        args.command = publisher::Arguments::Command::Sign;
        args.folders = {release.Path()};
        args.secretKey = row.secretKey;
        if (row.served) args.served = served.Path();
        std::ostringstream out, err;
        if (row.failingRename) support::FailRenamesOnto(row.failingRename, EIO);
        try {
            EXPECT_EQ(publisher::RunSign(args, out, err), row.signs ? 0 : 1);
            EXPECT_FALSE(row.usageFault);
            EXPECT_TRUE(err.str().starts_with(row.said)) << err.str();
        } catch (const publisher::UsageError& fault) {
            EXPECT_TRUE(row.usageFault) << fault.what();
            EXPECT_TRUE(std::string(fault.what()).starts_with(row.said)) << fault.what();
            EXPECT_NE(std::string(fault.what()).find(messages.at(row.name)), std::string::npos) << fault.what();
        }
        support::FailRenamesOnto("", 0);
        if (row.signs) {
            EXPECT_NE(Contents(release.Dir()), before);
            EXPECT_EQ(Contents(release.Dir()).size(), before.size());  // the three signatures replaced, nothing more
        } else {
            EXPECT_EQ(Contents(release.Dir()), before);
        }
    }
}

// An empty entry of PATH is no folder: a program named minisign in the
// folder sign is run from is never run.
TEST(Sign, AnEmptyPathEntryIsNotTheCurrentFolder) {
    const support::MinisignKey key;
    const support::TempDir release("vantrel-release"), here("vantrel-here");
    WriteRelease(release);
    const std::string ran = here.Path() + "/ran";
    here.Write("minisign", "#!/bin/sh\ntouch '" + ran + "'\n");
    ASSERT_EQ(::chmod((here.Path() + "/minisign").c_str(), 0755), 0);
    const auto outcome = support::RunInChild(
        [&] {
            if (::chdir(here.Path().c_str()) != 0 || ::setenv("PATH", ":/nonexistent:", 1) != 0) return 126;
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(VANTREL_CHART_TOOL, VANTREL_CHART_TOOL, "sign", "-s", key.SecretKeyFile().c_str(),
                    release.Path().c_str(), nullptr);
            return 127;
        },
        support::kChildDeadline);
    EXPECT_TRUE(outcome.finished && outcome.exitCode == 2) << outcome.Describe();  // minisign not found
    EXPECT_FALSE(fs::exists(ran));
}

}  // namespace
