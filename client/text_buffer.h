// Strings to and from SaHpiTextBufferT.
#pragma once

#include <string>

#include "client/hpi_types.h"

// A TEXT buffer in English: DataLength is the string's length capped at 255,
// Data its bytes up to the first NUL (at most 255), the rest zero.
SaHpiTextBufferT TextBufferFromString(const std::string &text);

// The first DataLength bytes of a buffer, as they are.
std::string TextBufferToString(const SaHpiTextBufferT &buffer);
