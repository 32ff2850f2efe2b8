#pragma once
// The details text of one test for one program: the test's title, then each
// sub-criterion's name with the program's answer (YES, NO or N/A) from its
// detail flags, lines ended by CR LF, and one empty line to end the block.
#include <string>
#include <string_view>

#include "chart/tables/chart_tables.h"

namespace chart {

// The col-th word of a details line together with the space that ended it, if
// a space ended it; a line with fewer words (or none) gives an empty token.
// Its m-th character answers the test's m-th sub-criterion. A view into details.
std::string_view DetailsToken(std::string_view details, int col);

// A program's answer to one sub-criterion: the m-th character of its token
// (m from 1), "1" YES, "0" NO, anything else or none N/A.
enum class Answer : unsigned char { Yes, No, NotApplicable };
Answer AnswerOf(std::string_view token, long long m);
// "YES", "NO" or "N/A", as the details panel writes it.
const char* AnswerText(Answer answer);

// row: the program's slot; col: the test (1 to 6). Throws ConversionError
// when the test's count is not an integer.
std::string DetailsText(const ChartTables& tables, int row, int col);

}  // namespace chart
