#pragma once
// Decides from the response headers whether a GET's body may become the new
// file, before any body byte is written.
#include <string_view>

namespace update {

// A final 2xx without "Location" is taken; an interim answer (any 1xx but
// 101, which would switch to another protocol) is skipped; everything else
// (3xx, 4xx, 5xx, 101, a 2xx with "Location", a status code that is not a
// number, a header line folded onto the one before it) is refused. So is a
// 2xx that cannot be a whole chart file: a 206 (no range is ever asked for) or
// a Content-Encoding other than identity (no compression is ever asked for).
// Header names are matched in ASCII letter case.
class ResponseCheck {
public:
    enum class Verdict { Pending, Accept, Refuse };

    // Fed every header line libcurl delivers, status lines and the blank line
    // that ends each response's headers included. Lines after the verdict
    // (trailers) change nothing.
    Verdict OnHeaderLine(std::string_view line);

    Verdict Current() const { return verdict_; }
    int Status() const { return status_; }  // -1 when the code was not a number
    bool HasLocation() const { return location_; }
    // Refused as no HTTP answer: no status line, a code that is not a number,
    // a folded header line.
    bool Malformed() const { return malformed_; }
    // A 2xx refused because its body is not a whole file as sent.
    bool NotWholeFile() const { return notWholeFile_; }

private:
    void RefuseMalformed();

    Verdict verdict_ = Verdict::Pending;
    int status_ = 0;
    bool location_ = false;
    bool encoded_ = false;
    bool notWholeFile_ = false;
    bool malformed_ = false;
    bool sawStatusLine_ = false;
};

}  // namespace update
