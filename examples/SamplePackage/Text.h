// Text as the sample packages show it, over the SDK's text helpers.
#pragma once

#include <cstdint>
#include <string>

#include "korvel/ComObject.h"
#include "korvel/Text.h"

namespace sample {

using namespace korvel::sdk;

// In double quotes, as the packages show what a user typed or picked.
Text Quoted(const Text& text);
Text DecimalText(int64_t value);
// Upper-case, padded with zeros to at least `digits`.
Text HexText(uint32_t value, int digits);

}  // namespace sample
