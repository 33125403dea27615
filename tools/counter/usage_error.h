// The error thrown for a bad command line; its message is shown to the user
// and the counter exits with status 2.
#pragma once

#include <stdexcept>

namespace zorvalit::counter {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace zorvalit::counter
