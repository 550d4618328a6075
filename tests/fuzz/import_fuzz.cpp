// libFuzzer harness for the inventory import's CSV reader and row converter. Built and run by
// scripts/test (tests/fuzz/CMakeLists.txt, clang with -fsanitize=fuzzer,address,undefined).
#include "fuzz/import_fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    importFuzzOne(data, size);
    return 0;
}
