#pragma once
// Termination, hang-up and interrupt signals (a logout, a shutdown, Ctrl+C in a terminal)
// as requests to end the program, which the game's loop takes up at its next input query:
// the handler only notes them, in lock-free atomics, as a signal handler may.
//
// A request that comes once the game is handling one ends the program at once with status
// 0, and so does the same signal a second time (the game may be stuck); a save under way is
// written first (writes_under_way.h). Different signals before that are one request: a
// logout's session manager sends SIGTERM and SIGHUP together.

#include <csignal>

class QuitSignals {
public:
    // Installs the handlers (one set at a time in a process); the destructor puts back
    // what was there before, unless they are kept to the end.
    QuitSignals();
    ~QuitSignals();
    // The handlers stay for the rest of the process once this is gone, as the program
    // ends: any signal then ends it with status 0 (once a save under way is written),
    // never with the signal's own status.
    void keepToTheEnd() { kept = true; }
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether any of the signals has come.
    bool arrived() const;
    // The game has begun to handle the request: any further signal ends the program.
    void handling();

private:
    struct sigaction previous[3];
    bool kept = false;
};
