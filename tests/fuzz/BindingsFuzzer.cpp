// libFuzzer entry: every input is read as a bindings file's text. A text
// taken must come back from the table in the same form, and that form must
// read as the same table again.
#include <KeyBindings.h>

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    plat::UseDefaultBindings();
    if (!plat::UseBindingsText(std::string(reinterpret_cast<const char*>(data), size), &error)) {
        if (error.compare(0, 5, "line ") != 0) abort();  // every refusal names its line
        return 0;
    }
    std::string written = plat::BindingsText();
    plat::UseDefaultBindings();
    if (!plat::UseBindingsText(written, &error) || plat::BindingsText() != written) abort();
    return 0;
}
