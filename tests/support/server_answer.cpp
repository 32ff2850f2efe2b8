// Server answers read from their data files.
#include "support/server_answer.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "support/test_data.h"

namespace support {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::runtime_error(std::string("not a hex digit: ") + c);
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) throw std::runtime_error("a lone \\ at the end: " + text);
        switch (text[i]) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case '\\': out += '\\'; break;
        case 'x':
            if (i + 2 >= text.size()) throw std::runtime_error("short \\x: " + text);
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
            break;
        case '[': {  // \[N:c]
            const std::size_t colon = text.find(':', i);
            if (colon == std::string::npos || colon + 2 >= text.size() || text[colon + 2] != ']')
                throw std::runtime_error("bad \\[N:c]: " + text);
            out.append(std::stoul(text.substr(i + 1, colon - i - 1)), text[colon + 1]);
            i = colon + 2;
            break;
        }
        default: throw std::runtime_error(std::string("unknown escape \\") + text[i]);
        }
    }
    return out;
}

std::string Chunked(const std::string& body) {
    std::ostringstream size;
    size << std::hex << body.size();
    return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + size.str() + "\r\n" + body +
           "\r\n0\r\n\r\n";
}

}  // namespace

ServerAnswer ParseServerAnswer(const std::string& name, const std::string& text) {
    ServerAnswer answer;
    answer.name = name;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t colon = line.find(':');
        const std::string key = line.substr(0, colon);
        std::string value = colon == std::string::npos ? "" : line.substr(colon + 1);
        if (!value.empty() && value[0] == ' ') value.erase(0, 1);
        if (key == "path") answer.path = value;
        else if (key == "cap") answer.cap = std::stoull(value);
        else if (key == "ends") {
            if (value != "new-chart" && value != "fails-on-data" && value != "fails-on-policy" &&
                value != "fails-after-downloads")
                throw std::runtime_error(name + ": no such end: " + value);
            answer.ends = value;
        }
        else if (key == "message") answer.message = Unescape(value);
        else if (key == "file") answer.file = Unescape(value);
        else if (key == "send") answer.script.push_back(Send(Unescape(value)));
        else if (key == "ok") answer.script.push_back(Send(Ok(Unescape(value))));
        else if (key == "ok-file") answer.script.push_back(Send(Ok(TestData(value))));
        else if (key == "chunked") answer.script.push_back(Send(Chunked(Unescape(value))));
        else if (key == "pause") answer.script.push_back(Pause(std::chrono::milliseconds(std::stoi(value))));
        else if (key == "endless") answer.script.push_back(Endless(Unescape(value)));
        else if (key == "close") answer.script.push_back(Close());
        else if (key == "reset") answer.script.push_back(Reset());
        else if (key == "hang") answer.script.push_back(Hang());
        else if (key == "trickle") {
            const std::size_t space = value.find(' ');
            answer.script.push_back(Trickle(Unescape(value.substr(space + 1)),
                                            std::chrono::milliseconds(std::stoi(value.substr(0, space)))));
        } else {
            throw std::runtime_error(name + ": a line not understood: " + line);
        }
    }
    return answer;
}

std::vector<ServerAnswer> ServerAnswers(const std::string& table) {
    const std::string folder = "answers/" + table;
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(TestDataPath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().extension() == ".answer") names.push_back(entry->path().stem().string());
    }
    if (error || names.empty()) {
        ServerAnswer none;
        none.name = "NoAnswers";
        none.unreadable = "no answer files in tests/data/" + folder + (error ? ": " + error.message() : "");
        return {none};
    }
    std::sort(names.begin(), names.end());
    std::vector<ServerAnswer> answers;
    for (const std::string& name : names) {
        try {
            answers.push_back(ParseServerAnswer(name, TestData(folder + "/" + name + ".answer")));
        } catch (const std::exception& e) {
            ServerAnswer bad;
            bad.name = name;
            bad.unreadable = e.what();
            answers.push_back(bad);
        }
    }
    return answers;
}

std::string AnswerBytes(const ServerAnswer& answer) {
    std::string bytes;
    for (const Step& step : answer.script) {
        if (step.kind == Step::Kind::Send || step.kind == Step::Kind::Trickle || step.kind == Step::Kind::Endless)
            bytes += step.bytes;
    }
    return bytes;
}

}  // namespace support
