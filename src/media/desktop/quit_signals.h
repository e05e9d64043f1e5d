#pragma once
// Termination, hang-up and interrupt signals (a logout, a shutdown, Ctrl+C in a terminal)
// as requests to end the program, which the game's loop takes up at its next input query:
// the handler only notes them, in lock-free atomics, as a signal handler may.
//
// A request that comes once the game is handling one ends the program at once, and so
// does the same signal a second time (the game may be stuck). Different signals before
// that are one request: a logout's session manager sends SIGTERM and SIGHUP together.

#include <csignal>

class QuitSignals {
public:
    // Installs the handlers (one set at a time in a process); the destructor puts back
    // what was there before.
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether any of the signals has come.
    bool arrived() const;
    // The game has begun to handle the request: any further signal ends the program.
    void handling();

private:
    struct sigaction previous[3];
};
