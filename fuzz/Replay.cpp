// Plays the saved inputs (the seed corpus and the inputs of findings that were fixed) through
// the fuzzer's package, outside the fuzzer. Arguments are files or folders of files.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/PackageSession.h"

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    const int unreleased = fuzz::RunCarelessPackage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (unreleased == 0) return true;
    std::fprintf(stderr, "%s: the system still holds %d package object(s)\n", file.string().c_str(), unreleased);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int played = 0, failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.emplace_back(argv[i]);
        }
        for (const auto& file : files) {
            ++played;
            if (!Replay(file)) ++failed;
        }
    }
    std::printf("%d inputs played, %d failed; %llu package calls\n", played, failed,
                static_cast<unsigned long long>(fuzz::PackageSession::CallsExecuted()));
    return played > 0 && failed == 0 ? 0 : 1;
}
