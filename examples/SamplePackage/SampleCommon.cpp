#include "SampleCommon.h"

namespace sample {

void SampleReport(const Text& what) { WriteDebugLine(u"Korvel Sample: " + what); }

ComRef<IBdsHelpService> HelpServiceOf(IBdsServices& site) {
    ComRef<IBdsHelpService> help;
    if (!help.Received(site.Get_BdsHelpService(help.Put()))) return ComRef<IBdsHelpService>();
    return help;
}

}  // namespace sample
