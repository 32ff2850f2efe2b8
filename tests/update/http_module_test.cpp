// The HTTP module is read before it is loaded: a copy cut short anywhere the
// loader would map fails the update naming it, instead of SIGBUS.
#include <gtest/gtest.h>

#include <elf.h>
#include <link.h>

#include <csignal>
#include <cstring>

#include "chart/files/local_path.h"
#include "support/temp_dir.h"
#include "update/http_module.h"
#include "support/update_fixture.h"

namespace update_test {
namespace {

using namespace std::chrono_literals;

const update::HttpLimits kLimits{5s, 5s, update::kBodyCap, std::chrono::steady_clock::time_point::max(), {}};

// The end, in the file, of the last segment the loader maps.
std::size_t EndOfSegments(const std::string& module) {
    ElfW(Ehdr) header;
    std::memcpy(&header, module.data(), sizeof header);
    std::size_t end = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        std::memcpy(&segment, module.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type == PT_LOAD) end = std::max<std::size_t>(end, segment.p_offset + segment.p_filesz);
    }
    return end;
}

TEST(HttpModuleTest, ACopyCutShortIsRefusedBeforeItIsMapped) {
    const std::string module =
        ReadBytes(*chart::ExecutableDirectory() + "/" + update::kHttpModuleFileName);
    const std::size_t end = EndOfSegments(module);
    ASSERT_GT(end, 4096u);
    TempDir dir("vantrel-module");
    const std::size_t header = sizeof(ElfW(Ehdr));
    for (std::size_t size : {std::size_t{0}, std::size_t{4}, header - 1, header + 1, end / 2, end - 1}) {
        const std::string path = dir.Path() + "/cut-" + std::to_string(size) + ".so";
        WriteBytes(path, module.substr(0, size));
        auto client = update::HttpModule(path).CreateClient(kLimits);
        ASSERT_FALSE(client) << size;
        EXPECT_EQ(update::FailureMessage(client.Why()),
                  "The update failed: the connection to the data server could not be set up (" + path +
                      " is cut short or damaged).");
    }
    // What follows the segments (the section table and the like) is never mapped.
    const std::string path = dir.Path() + "/segments-only.so";
    WriteBytes(path, module.substr(0, end));
    auto client = update::HttpModule(path).CreateClient(kLimits);
    ASSERT_TRUE(client) << update::FailureMessage(client.Why());
    // Set up with the module: a peer's closed connection is no signal.
    struct sigaction pipe {};
    ASSERT_EQ(sigaction(SIGPIPE, nullptr, &pipe), 0);
    EXPECT_EQ(pipe.sa_handler, SIG_IGN);
}

TEST(HttpModuleTest, NoKnownFolderIsNoModule) {
    auto client = update::HttpModule("").CreateClient(kLimits);
    ASSERT_FALSE(client);
    EXPECT_EQ(update::FailureMessage(client.Why()),
              "The update failed: the connection to the data server could not be set up (vantrel-http.so "
              "cannot be found: the program's own folder is not known).");
}

}  // namespace
}  // namespace update_test
