#include "platform/vcl/TypInfo.h"

namespace vcl::typinfo_detail {

void RaiseUnknownProperty(const String& name) { throw EPropertyError(u"Property " + name + u" does not exist"); }

}  // namespace vcl::typinfo_detail
