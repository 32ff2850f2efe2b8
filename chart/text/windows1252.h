#pragma once
// Windows-1252, the window's reading of a chart line that is not valid UTF-8:
// Latin-1 with 0x80-0x9F remapped.
namespace chart {

// The five bytes Windows-1252 leaves undefined keep their Latin-1 control
// code point, as the system's own conversion does.
char32_t Windows1252CodePoint(unsigned char byte);

}  // namespace chart
