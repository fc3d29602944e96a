#include "platform/ide/SplashAbout.h"

namespace ide {
namespace {
IOTASplashScreenServices* theSplashScreen = nullptr;
}

IOTASplashScreenServices* SplashScreenServices() { return theSplashScreen; }
void SetSplashScreenServices(IOTASplashScreenServices* services) { theSplashScreen = services; }

}  // namespace ide
