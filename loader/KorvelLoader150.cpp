// The library the IDE loads: its one export hands the IDE the terminate procedure and loads
// the packages. Nothing may escape into the IDE: an assertion failure is reported on the
// debugger output and the entry answers false.
#include "loader/KorvelLoader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win32/Observed.h"

#ifdef _WIN32
#define KORVEL_ENTRY extern "C"  // the .def names the export
#else
#define KORVEL_ENTRY extern "C" __attribute__((visibility("default")))
#endif

KORVEL_ENTRY uint8_t STDMETHODCALLTYPE INITWIZARD0001(ide::IBorlandIDEServices* BorlandIDEServices,
                                                    ide::TWizardRegisterProc RegisterProc,
                                                    ide::TWizardTerminateProc* Terminate) {
    try {
        return korvel::InitWizard(BorlandIDEServices, Terminate) ? 1 : 0;
    } catch (const rtl::Exception& error) {
        win32::WriteDebugOutput(error.Message());
    } catch (...) {
    }
    return 0;
}

// The IDE calls the entry through this type; a mismatch must not compile.
[[maybe_unused]] static constexpr ide::TWizardInitProc kEntryMatchesTheIde = &INITWIZARD0001;
