// The update worker against a loopback server whose every answer is the
// fuzzer's bytes, sent as the raw HTTP response.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "chart/files/local_path.h"
#include "fuzz_support.h"
#include "support/scripted_server.h"
#include "support/update_port_recorder.h"
#include "folder/chart_files.h"
#include "support/lock_files.h"
#include "update/tmt.h"

namespace {

using namespace std::chrono_literals;

const std::string kOld[] = {"old data\n", "old policy\n", "old version\n"};

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!support::IsUpdateLockFile(entry.path()))  // stays once made
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// Whatever comes back, the chart ends either wholly new (the three files hold
// the same served body, which then reads as a chart) or wholly old, with no
// staging file left behind, and the run ends with one outcome.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static support::ScriptedServer server;
    const std::string& dir = fuzz::ScratchDirectory();
    const std::string answer(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < folder::kChartFiles.size(); ++i) {
        fuzz::WriteFile(chart::LocalPath(dir, folder::kChartFiles[i].name), kOld[i]);
        server.On(folder::kChartFiles[i].urlPath, {support::Send(answer), support::Close()});
    }

    update::UpdateSettings settings;
    settings.baseUrl = server.Base();
    settings.chartDirectory = dir;
    settings.connectTimeout = 2s;
    settings.stallTimeout = 1s;
    settings.bodyCap = 1024;  // small, so that short inputs reach the cap too
    support::UpdatePortRecorder port;
    {
        update::Tmt worker(port, settings);
        fuzz::Require(port.WaitFinished(30s), "the run ends within its time limits");
    }

    const auto calls = port.Calls();
    fuzz::Require(calls.back() == "finished" && std::count(calls.begin(), calls.end(), "finished") == 1,
                  "nothing after the run's end");
    for (const std::string& message : port.Messages())
        fuzz::Require(message.rfind("The update failed: ", 0) == 0, "failure message in its form");
    const bool reloaded = std::count(calls.begin(), calls.end(), "ReadAll") == 1;
    const auto outcomes = std::count(calls.begin(), calls.end(), "ReadAll") +
                          std::count(calls.begin(), calls.end(), "failed");
    fuzz::Require(outcomes == 1, "one outcome per run");
    fuzz::Require(Names(dir) == std::vector<std::string>{"data", "policy", "version"},
                  "no staging file left behind");
    std::string files[3];
    for (std::size_t i = 0; i < folder::kChartFiles.size(); ++i)
        files[i] = fuzz::ReadFile(chart::LocalPath(dir, folder::kChartFiles[i].name));
    if (reloaded) {
        fuzz::Require(files[0] == files[1] && files[1] == files[2], "all three hold the served body");
        fuzz::Require(files[0].size() <= settings.bodyCap, "no body beyond the cap");
        fuzz::Require(files[0].size() <= size, "no body longer than the answer");
    } else {
        for (std::size_t i = 0; i < 3; ++i) fuzz::Require(files[i] == kOld[i], "all three untouched");
    }
    return 0;
}
