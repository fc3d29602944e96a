#include "platform/ide/ToolsAPI.h"

namespace ide {
namespace {
IBorlandIDEServices* theServices = nullptr;
}

IBorlandIDEServices* BorlandIDEServices() { return theServices; }
void SetBorlandIDEServices(IBorlandIDEServices* services) { theServices = services; }

}  // namespace ide
