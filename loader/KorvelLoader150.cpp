// The library the IDE loads: its one export hands the IDE the terminate procedure and loads
// the packages. Nothing may escape into the IDE: an assertion failure is reported on the
// debugger output and the entry answers false.
#include "loader/KorvelLoader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win32/Observed.h"

#ifdef _WIN32
#define KORVEL_EXPORT  // the .def file names the export
#else
#define KORVEL_EXPORT __attribute__((visibility("default")))
#endif

using Boolean = uint8_t;
using TWizardRegisterProc = void*;

extern "C" KORVEL_EXPORT Boolean STDMETHODCALLTYPE INITWIZARD0001(ide::IBorlandIDEServices* BorlandIDEServices,
                                                    TWizardRegisterProc RegisterProc,
                                                    korvel::TWizardTerminateProc* Terminate) {
    try {
        return korvel::InitWizard(BorlandIDEServices, Terminate) ? 1 : 0;
    } catch (const rtl::Exception& error) {
        win32::WriteDebugOutput(error.Message());
    } catch (...) {
    }
    return 0;
}
