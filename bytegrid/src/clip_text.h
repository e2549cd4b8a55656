// Text forms of bytes for the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bytegrid {

// "0A 1B FF ...", 16 bytes a line, lines ending in CRLF.
std::string BytesToHexText(const uint8_t* bytes, size_t n);

// The bytes as characters; NUL bytes (which would end the text) become '.'.
std::string BytesToCharText(const uint8_t* bytes, size_t n);

// Reads text made only of hex digit pairs and blanks ("0a 0B ff", "0a0bff").
// Returns false, leaving *out empty, for anything else: other characters,
// a word with an odd count of digits, no digits at all.
bool HexTextToBytes(const char* text, size_t n, std::vector<uint8_t>* out);

} // namespace bytegrid
