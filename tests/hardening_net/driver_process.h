#pragma once
// The update driver as a process of its own: one update of a chart folder,
// then exit (0: the new chart is in place; 1: the update failed, the message
// on its standard error). Tests start it, kill it, or run it to its end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/system_call_faults.h"

extern char** environ;

namespace update_test {

// The test's environment, with `extra` ("NAME=value") when given.
inline std::vector<char*> DriverEnvironment(std::string& extra) {
    std::vector<char*> environment;
    for (char** variable = environ; *variable; ++variable) environment.push_back(*variable);
    if (!extra.empty()) environment.push_back(extra.data());
    environment.push_back(nullptr);
    return environment;
}

// "NAME=value" that stops the driver just before `call` ("rename" or
// "unlink") reaches the name given (system_call_faults.h).
inline std::string StopBefore(const std::string& call, const std::string& name) {
    return std::string(support::kStopBeforeVariable) + "=" + call + ":" + name;
}

// stderrPath: where its standard error goes ("" keeps the test's own).
// fatRules: the driver renames and links by FAT's rules (system_call_faults.h).
// extraEnvironment: one more "NAME=value" for it.
inline pid_t StartDriver(const std::string& base, const std::string& chartDirectory,
                         const std::string& stderrPath = {}, bool fatRules = false,
                         std::string extraEnvironment = {}) {
    const char* argv[] = {VANTREL_UPDATE_DRIVER, base.c_str(), chartDirectory.c_str(), nullptr};
    if (fatRules) extraEnvironment = std::string(support::kFatRulesVariable) + "=1";
    std::vector<char*> environment = DriverEnvironment(extraEnvironment);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (!stderrPath.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, VANTREL_UPDATE_DRIVER, &actions, nullptr,
                                    const_cast<char**>(argv), environment.data());
    ::posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(error, 0) << "cannot start " << VANTREL_UPDATE_DRIVER;
    return error == 0 ? pid : -1;
}

// A copy of the driver, with the HTTP module beside it, that any user can
// run: the build folder itself may be closed to others (a checkout in a 0700
// folder). Made once per test program.
inline const std::string& DriverForAnyone() {
    static const std::string path = [] {
        namespace fs = std::filesystem;
        const fs::path driver = VANTREL_UPDATE_DRIVER;
        char pattern[] = "/tmp/vantrel-driver-XXXXXX";
        const fs::path dir = ::mkdtemp(pattern) ? fs::path(pattern) : fs::path();
        if (dir.empty()) return std::string(VANTREL_UPDATE_DRIVER);
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
        for (const std::string& name : {driver.filename().string(), std::string("vantrel-http.so")}) {
            fs::copy_file(driver.parent_path() / name, dir / name, fs::copy_options::overwrite_existing);
        }
        return (dir / driver.filename()).string();
    }();
    return path;
}

// The driver run by another user (uid, in the one group gid): the test,
// running as root, forks, gives up its rights and starts it.
// With publicKey, the run takes only a chart signed with it.
inline pid_t StartDriverAs(uid_t uid, gid_t gid, const std::string& base, const std::string& chartDirectory,
                           const std::string& stderrPath, const std::string& publicKey = {},
                           std::string extraEnvironment = {}) {
    const std::string& driver = DriverForAnyone();
    const char* argv[] = {driver.c_str(), base.c_str(), chartDirectory.c_str(),
                          publicKey.empty() ? nullptr : publicKey.c_str(), nullptr};
    std::vector<char*> environment = DriverEnvironment(extraEnvironment);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only calls that are safe after a fork, until exec.
        const int err = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (err < 0 || ::dup2(err, 2) < 0 || ::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 ||
            ::setuid(uid) != 0) {
            ::_exit(3);
        }
        ::execve(argv[0], const_cast<char**>(argv), environment.data());
        ::_exit(4);
    }
    EXPECT_GT(pid, 0) << "cannot fork";
    return pid;
}

// Waits for the driver (a run ends within its deadline; a hung one is killed
// after the tests' own); its exit code, or -1 when it did not exit by itself.
inline int WaitDriver(pid_t pid) {
    const auto status = pid < 0 ? std::nullopt : support::WaitForExit(pid, support::kChildDeadline);
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

}  // namespace update_test
