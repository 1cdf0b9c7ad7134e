// What the program above the layer reports for tools: its log lines and a
// way to show its unshown drawing.  Kept outside the core record, so that a
// layer reset leaves the registrations of the harness and the library alone.
#include "core/window.h"
#include "kv390/win.h"

namespace win {

namespace {

struct Reports {
    LogObserver log_observer = nullptr;
    void* log_context = nullptr;
    UnshownDrawingFlush flush = nullptr;
    void* flush_context = nullptr;
};

Reports& reports() {
    static Reports instance;
    return instance;
}

}  // namespace

void set_log_observer(LogObserver observer, void* context) {
    reports().log_observer = observer;
    reports().log_context = context;
}

// The backend starts with the first line at the latest, so that a harness
// or a run it keeps the log for sees every line, also those logged before
// the first window.
void note_log_line(const char* line, std::size_t length) {
    ensure_backend();
    const Reports& r = reports();
    if (r.log_observer != nullptr) r.log_observer(line, length, r.log_context);
}

void set_unshown_drawing_flush(UnshownDrawingFlush flush, void* context) {
    reports().flush = flush;
    reports().flush_context = context;
}

void show_unshown_drawing() {
    const Reports& r = reports();
    if (r.flush != nullptr) r.flush(r.flush_context);
}

}  // namespace win
