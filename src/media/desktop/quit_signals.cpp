#include "media/desktop/quit_signals.h"

#include <atomic>

#include "media/files/writes_under_way.h"

namespace {

// The handler's only state. Lock-free atomics are the one shared state a signal handler
// may touch; they are globals because a handler gets no context of its own.
std::atomic<unsigned> signalsArrived{0};  // one bit per signal number
std::atomic<bool> requestHandled{false};
static_assert(std::atomic<unsigned>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

constexpr int Handled[] = {SIGTERM, SIGHUP, SIGINT};

void noteQuitSignal(int number) {
    const unsigned bit = 1u << number;
    const unsigned before = signalsArrived.fetch_or(bit);
    // The end waits for a save under way, and is _exit, which (unlike exit) is safe here.
    if (requestHandled.load() || (before & bit) != 0) endOnceWritesAreDone();
}

}  // namespace

QuitSignals::QuitSignals() {
    signalsArrived = 0;
    requestHandled = false;
    struct sigaction action {};
    action.sa_handler = noteQuitSignal;
    sigemptyset(&action.sa_mask);
    // Calls that a signal interrupts carry on instead of failing, so a save never fails for it.
    action.sa_flags = SA_RESTART;
    static_assert(sizeof Handled / sizeof Handled[0] == sizeof previous / sizeof previous[0]);
    for (size_t i = 0; i < sizeof Handled / sizeof Handled[0]; ++i) sigaction(Handled[i], &action, &previous[i]);
}

QuitSignals::~QuitSignals() {
    if (kept) {
        requestHandled = true;  // the program is ending: nothing is left to handle a request
        return;
    }
    for (size_t i = 0; i < sizeof Handled / sizeof Handled[0]; ++i) sigaction(Handled[i], &previous[i], nullptr);
}

bool QuitSignals::arrived() const { return signalsArrived.load() != 0; }

void QuitSignals::handling() { requestHandled = true; }
