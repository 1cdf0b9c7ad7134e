// Parses arbitrary bytes as an in-memory dialog template.  A template that
// parses must describe no more items than its bytes can hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kv390/win.h"

namespace {

constexpr std::size_t ITEM_FIXED_PART = 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    win::DialogTemplate parsed;
    if (!win::parse_dialog_template(data, size, &parsed)) return 0;
    if (parsed.items.size() * ITEM_FIXED_PART > size) std::abort();
    for (const win::DialogItemTemplate& item : parsed.items) {
        if (item.creation_data.size() > size) std::abort();
        if (item.class_atom == 0 && item.class_name.empty()) std::abort();
    }
    return 0;
}
