// The --help text of zorvalit-counter.
#pragma once

#include <string_view>

namespace zorvalit::counter {

std::string_view help_text();

}  // namespace zorvalit::counter
