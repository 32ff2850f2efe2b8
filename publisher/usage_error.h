#pragma once
// A fault in vantrel-chart's command line, or in what an option names (a key
// file that is not one): its text says what is wrong, and the tool ends with
// exit status 2.
#include <stdexcept>

namespace publisher {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace publisher
