#pragma once
// The assistant signature: a 32-bit checksum over the assistant's top-level texts that detects changes
// made outside the editor. Only ASCII letters and digits count, letters without regard to case, so
// blanks, punctuation and the encoding of other characters do not change it.
#include <cstdint>
#include <string_view>

// Folds one text into a signature value and returns the new value.
std::uint32_t SignatureAdd(std::uint32_t value, std::string_view text);
