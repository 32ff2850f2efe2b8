#pragma once
// Reads a chart file line by line, from the file itself or from its bytes read
// before. Failures are raised as FileError.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "chart/files/file_error.h"
#include "chart/files/unique_fd.h"

namespace chart {

// A file's bytes read before (a reload's snapshot of it), for a reader to go
// through in place.
struct ByteInput {
    std::string_view bytes;
};

class LineReader {
public:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr std::uint64_t kNoSizeCap = std::numeric_limits<std::uint64_t>::max();

    // Opens an existing regular file for reading. Never blocks on a FIFO or
    // a device: anything that is not a regular file is refused, and so is a
    // file larger than sizeCap bytes ("File too large"). The cap holds while
    // reading too: a file that grows past it fails the read the same way.
    explicit LineReader(const std::string& path, std::uint64_t sizeCap = kNoSizeCap);
    // Reads the lines of bytes the caller keeps for as long as the reader lives.
    explicit LineReader(ByteInput input);
    // Closes the file, whatever happened.
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when no byte is left or the next byte is a Ctrl-Z.
    bool AtEnd();
    // The next line without its end; "" when already at the end. LF ends a
    // line and every CR is dropped; a Ctrl-Z (0x1A) ends the line it stands in
    // and the file; a last line without LF is returned whole and a final LF adds
    // no empty line. Lines have no length limit.
    std::string ReadLine();
    // Reads the next line into `line` (reusing its storage).
    void ReadLine(std::string& line);
    void Close();

private:
    bool Fill();  // false at the end of the file

    UniqueFd fd_;  // none when reading bytes
    std::uint64_t sizeCap_ = kNoSizeCap;
    std::uint64_t bytesRead_ = 0;
    std::vector<char> buffer_;
    const char* data_ = nullptr;  // the buffer, or the bytes given
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool stopped_ = false;  // end of file or Ctrl-Z reached
};

}  // namespace chart
