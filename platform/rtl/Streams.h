// The platform's COM streams as the language library uses them: a new stream in memory, and
// a stream's bytes read or written whole. A failing stream raises its result as an OLE error.
#pragma once

#include <string>

#include "platform/rtl/ComPtr.h"

KORVEL_BIND_INTERFACE(ISequentialStream, IUnknown, IID_ISequentialStream);
KORVEL_BIND_INTERFACE(IStream, ISequentialStream, IID_IStream);

namespace rtl {

ComPtr<IStream> NewMemoryStream();
// From the stream's position to its end.
std::string ReadToEnd(IStream& stream);
void WriteWhole(IStream& stream, const std::string& bytes);

}  // namespace rtl
