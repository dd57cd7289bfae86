// Without libFuzzer, a target runs once over every file of its seed corpus:
// the ordinary test run then holds each parser to its promises on each seed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int anzahl = 0;
    for (const auto &eintrag : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream datei(eintrag.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>()};
        std::printf("%s\n", eintrag.path().filename().c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++anzahl;
    }
    return anzahl > 0 ? 0 : 1;
}
