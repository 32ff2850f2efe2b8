#pragma once
// A server answer kept as a data file (tests/data/answers/<table>/<Name>.answer),
// read alike by the update's outcome table, the hostile-server table and the
// fuzz target's seed corpus.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "support/scripted_server.h"

namespace support {

struct ServerAnswer {
    std::string name;  // the file's name without .answer
    Script script;
    std::string path = "/data.dat";
    std::uint64_t cap = 0;  // 0: the update's own cap
    std::string ends;
    std::string message;
    std::string file;
    std::string unreadable;  // what is wrong with the file; empty when it was read
};

inline void PrintTo(const ServerAnswer& answer, std::ostream* os) { *os << answer.name; }

// Every answer in tests/data/answers/<table>/, sorted by name. Never throws:
// a file that cannot be read or has a line not understood is an answer whose
// `unreadable` says why, so that its test fails by name.
std::vector<ServerAnswer> ServerAnswers(const std::string& table);
// One answer file's text, one line per field or step, in order; throws on a
// line it does not understand:
//
//   # a comment
//   path: /data.dat          where the answer is served ("*": every path)
//   cap: 2048                the body cap the update runs with
//   ends: fails-on-data      new-chart | fails-on-data | fails-on-policy |
//                            fails-after-downloads
//   message: cut short.      a piece of the failure message
//   file: <bytes>            new-chart: what the served file then holds
//   send: <bytes>            the steps of the answer, in order
//   ok: <bytes>              a whole 200 answer with a Content-Length
//   ok-file: bodies/x.html   the same, its body a file under tests/data
//   chunked: <bytes>         a whole 200 answer in one chunk
//   pause: 50                milliseconds
//   trickle: 700 <bytes>     one byte every 700 ms
//   endless: <bytes>         sent over and over while the client reads
//   close | reset | hang
//
// <bytes> is the rest of the line with C escapes \r \n \\ \xHH, and \[N:c] for
// N times the character c.
ServerAnswer ParseServerAnswer(const std::string& name, const std::string& text);
// The bytes the answer sends, in order (a fuzz seed).
std::string AnswerBytes(const ServerAnswer& answer);

}  // namespace support
