#pragma once
// A disk that fails, a file system with FAT's rules, and a process that stops
// itself at a chosen step: the test program's own fsync, read, rename, unlink,
// link and linkat, in front of the C library's (vantrel_system_call_faults).
#include <functional>
#include <string>

namespace support {

// Each call does what the C library does unless told otherwise here.
// The next `count` fsync calls on a directory fail with EIO (those on files go through).
void FailNextFolderFlushes(int count);
// Every read of an open file named `name` (its last path part) fails with
// `error` until an empty name ends that.
void FailReadsOf(const std::string& name, int error);
// The next `times` renames onto a path whose last part is `name` fail with
// `error`; an empty name ends that.
void FailRenamesOnto(const std::string& name, int error, int times = 1);

// FAT through some FUSE drivers (Debian 13's fusefat): a rename onto an
// existing name fails with EEXIST instead of replacing it, and hard links are
// refused with EPERM. Also on from the start when the environment holds
// kFatRulesVariable=1 (an update driver started by a test).
void UseFatRules(bool on);
inline constexpr const char* kFatRulesVariable = "VANTREL_TEST_FAT_RULES";

// Each fault armed for as long as its guard lives.
class FolderFlushesFail {
public:
    explicit FolderFlushesFail(int count) { FailNextFolderFlushes(count); }
    ~FolderFlushesFail() { FailNextFolderFlushes(0); }
    FolderFlushesFail(const FolderFlushesFail&) = delete;
    FolderFlushesFail& operator=(const FolderFlushesFail&) = delete;
};
class ReadsFail {
public:
    ReadsFail(const std::string& name, int error) { FailReadsOf(name, error); }
    ~ReadsFail() { FailReadsOf("", 0); }
    ReadsFail(const ReadsFail&) = delete;
    ReadsFail& operator=(const ReadsFail&) = delete;
};
class RenamesFail {
public:
    RenamesFail(const std::string& name, int error, int times = 1) { FailRenamesOnto(name, error, times); }
    ~RenamesFail() { FailRenamesOnto("", 0); }
    RenamesFail(const RenamesFail&) = delete;
    RenamesFail& operator=(const RenamesFail&) = delete;
};

// Once, just after the first read of an open file named `name` returns,
// `then` runs on the reading thread (say, another file put at that name while
// the reader holds the old one), for as long as the guard lives.
class AfterFirstReadOf {
public:
    AfterFirstReadOf(const std::string& name, std::function<void()> then);
    ~AfterFirstReadOf();
    AfterFirstReadOf(const AfterFirstReadOf&) = delete;
    AfterFirstReadOf& operator=(const AfterFirstReadOf&) = delete;
    // Whether `then` ran.
    bool Ran() const;
};

// A process started with kStopBeforeVariable="rename:NAME" (or
// "unlink:NAME") stops itself (SIGSTOP) just before its first rename onto,
// or unlink of, a path whose last part is NAME: a commit cut at a chosen
// step, still holding what it holds, which the test then kills.
inline constexpr const char* kStopBeforeVariable = "VANTREL_TEST_STOP_BEFORE";

// FAT's rules for as long as it lives, when `on`.
class FatRulesDuring {
public:
    explicit FatRulesDuring(bool on) : on_(on) {
        if (on_) UseFatRules(true);
    }
    ~FatRulesDuring() {
        if (on_) UseFatRules(false);
    }
    FatRulesDuring(const FatRulesDuring&) = delete;
    FatRulesDuring& operator=(const FatRulesDuring&) = delete;

private:
    bool on_;
};

}  // namespace support
