// libFuzzer target: v.dat through its loader.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zt::fuzz::load_with('v', data, size);
    return 0;
}
