#include "platform/vcl/Forms.h"

namespace vcl {
namespace {
TApplication* theApplication = nullptr;
}

bool TApplication::HelpKeyword(const String& keyword) { return helpSystem_ ? helpSystem_(keyword) : false; }

TApplication* Application() { return theApplication; }
void SetApplication(TApplication* application) { theApplication = application; }

}  // namespace vcl
