// Plays the saved inputs (the seed corpus and the inputs of findings that were fixed) through
// the fuzzer's package, outside the fuzzer. Arguments are files or folders of files.
//
// It also checks that the IDE the fuzzer resets between inputs is as good as a new one: each
// input is first played in a process of its own that has run nothing else, then twice here,
// after all the inputs before it; the three transcripts must be the same.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/PackageSession.h"

namespace {

using Transcript = std::vector<std::string>;

std::vector<uint8_t> ReadFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> InputFiles(int argc, char** argv) {
    std::vector<std::filesystem::path> all;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.emplace_back(argv[i]);
        }
        all.insert(all.end(), files.begin(), files.end());
    }
    return all;
}

Transcript Play(const std::vector<uint8_t>& bytes, int& unreleased) {
    Transcript transcript;
    unreleased = fuzz::RunCarelessPackage(bytes.data(), bytes.size(), &transcript);
    return transcript;
}

// The transcript of the input in a child process forked from this one before it ran anything.
Transcript PlayInFreshProcess(const std::vector<uint8_t>& bytes) {
    int channel[2];
    if (pipe(channel) != 0) return {"pipe failed"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        int unreleased = 0;
        std::string text;
        for (const std::string& line : Play(bytes, unreleased)) text += line + '\n';
        for (size_t written = 0; written < text.size();) {
            const ssize_t n = write(channel[1], text.data() + written, text.size() - written);
            if (n <= 0) _exit(1);
            written += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {"the fresh process failed"};
    Transcript transcript;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        transcript.push_back(text.substr(start, end - start));
    return transcript;
}

bool SameTranscript(const std::filesystem::path& file, const char* run, const Transcript& fresh,
                    const Transcript& played) {
    if (played == fresh) return true;
    const auto differ = std::mismatch(fresh.begin(), fresh.end(), played.begin(), played.end());
    const auto line = static_cast<size_t>(differ.first - fresh.begin());
    std::fprintf(stderr, "%s: the %s run differs from a fresh process at line %zu: \"%s\" instead of \"%s\"\n",
                 file.string().c_str(), run, line + 1, differ.second != played.end() ? differ.second->c_str() : "",
                 differ.first != fresh.end() ? differ.first->c_str() : "");
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::filesystem::path> files = InputFiles(argc, argv);
    std::vector<std::vector<uint8_t>> inputs;
    std::vector<Transcript> fresh;
    for (const auto& file : files) {
        inputs.push_back(ReadFile(file));
        fresh.push_back(PlayInFreshProcess(inputs.back()));
    }
    int failed = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        bool passed = true;
        for (const char* run : {"first", "second"}) {
            int unreleased = 0;
            const Transcript played = Play(inputs[i], unreleased);
            if (unreleased != 0)
                std::fprintf(stderr, "%s: the system still holds %d package object(s)\n", files[i].string().c_str(),
                             unreleased);
            passed = SameTranscript(files[i], run, fresh[i], played) && unreleased == 0 && passed;
        }
        failed += passed ? 0 : 1;
    }
    std::printf("%zu inputs played, %d failed; %llu package calls\n", files.size(), failed,
                static_cast<unsigned long long>(fuzz::PackageSession::CallsExecuted()));
    return !files.empty() && failed == 0 ? 0 : 1;
}
