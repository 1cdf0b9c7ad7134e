// Window classes.
#include "core/window.h"

namespace win {

bool register_class(const WindowClass& wc) {
    if (wc.name.empty() || find_class(wc.name) != nullptr) return false;
    core().classes.push_back(wc);
    return true;
}

bool is_class_registered(const std::string& name) {
    return find_class(name) != nullptr;
}

}  // namespace win
