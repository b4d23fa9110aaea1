// Runs a fuzzing target over saved inputs without libFuzzer, so that every
// input once found (and every hand-written seed) is replayed by ./test with
// the ordinary compiler:
//   fuzz_replay_<target> FOLDER_OR_FILE...
// Each folder's files are run in name order. A broken rule aborts, as under
// the fuzzer.
#include <QCoreApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

bool readInput(const std::filesystem::path &path, std::vector<uint8_t> &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto &entry : std::filesystem::directory_iterator(arg, error)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
            if (error) {
                std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
                return 1;
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (std::filesystem::is_regular_file(arg, error)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
            return 1;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }

    std::vector<uint8_t> bytes;
    for (const auto &path : inputs) {
        if (!readInput(path, bytes)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        // Named before the run, so that a crash says which input it was.
        std::fprintf(stderr, "replaying %s\n", path.c_str());
        // A copy of exactly the input's size, so that reading past its end is caught
        // under AddressSanitizer as it is under the fuzzer.
        std::vector<uint8_t> input(bytes);
        LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    // A target that needed an application object made one; it goes before
    // the process does, with the fonts and windows it holds.
    delete QCoreApplication::instance();
    return 0;
}
