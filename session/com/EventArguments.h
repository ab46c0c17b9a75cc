#pragma once

#include "session/com/ComVariant.h"

#include <string_view>
#include <vector>

namespace EventArguments {

// The VARIANT type for one letter of the event table's signatures: s string, b boolean,
// n 16-bit integer, i 32-bit integer; VT_EMPTY for any other letter.
VARTYPE typeFor(char code);

// Coerces each argument in place to the type its letter gives. False, with the arguments in an
// unspecified state, when the count differs or a value does not convert (a string that is no
// number, a value out of range): such an event is dropped.
bool coerce(std::vector<ComVariant> &args, std::string_view signature);

} // namespace EventArguments
