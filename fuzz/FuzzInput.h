// The fuzzer's bytes read as a careless package's choices. Every draw takes what it needs
// from the front; an exhausted input answers zeros, so any byte string is a valid program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "interop/KorvelBdsInterop.h"
#include "platform/rtl/Text.h"

namespace fuzz {

using rtl::String;

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Exhausted() const { return position_ >= size_; }
    uint8_t Byte();
    // 0 .. count-1; 0 when count is 0.
    size_t Choose(size_t count);
    // Mostly the numbers that break arithmetic: 0, ±1, the extremes, small indexes.
    Integer Number();
    // 0, -1, 1 and other non-zero values.
    WordBool Flag();
    bool Coin() { return Byte() & 1; }
    // A name from `known`, or a made-up one: separators, non-ASCII, empty, very long.
    String Text(const std::vector<String>& known);

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace fuzz
