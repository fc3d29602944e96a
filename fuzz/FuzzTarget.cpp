// libFuzzer's entry: one input is one careless package's life in a simulated IDE. A package
// object the system did not give back is a finding, as is anything the sanitizers see.
#include <cstdio>
#include <cstdlib>

#include "fuzz/PackageSession.h"

namespace {

void ReportCalls() {
    std::fprintf(stderr, "package calls executed: %llu\n",
                 static_cast<unsigned long long>(fuzz::PackageSession::CallsExecuted()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(ReportCalls);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const int unreleased = fuzz::RunCarelessPackage(data, size)) {
        std::fprintf(stderr, "the system still holds %d package object(s) after shut-down\n", unreleased);
        std::abort();
    }
    return 0;
}
