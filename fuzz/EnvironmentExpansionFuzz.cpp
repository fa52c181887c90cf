// Environment expansion of configuration paths: three variables whose values
// the input chooses (referring to each other or themselves), then a text that
// refers to them. A result that is not empty has every reference replaced.
#include "system/DriverConfiguration.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Variables of this process only; setenv wants them without zeros.
    for (const char* name : {"FZA", "FZB", "FZC"}) {
        const std::string value = input.ConsumeRandomLengthString(64);
        if (value.empty() || value.find('\0') != std::string::npos)
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }
    const std::string expanded = ExpandEnvironment(input.ConsumeRemainingBytesAsString());
    // Every '%' of the text or of a value opens or closes a reference.
    if (expanded.find('%') != std::string::npos)
        std::abort();
    return 0;
}
