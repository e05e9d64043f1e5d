#pragma once
// An X screen of a chosen size for the frame benchmark: its own Xvfb, optionally with a
// window manager, so the game's full-screen window covers the whole screen as a player's
// would and every frame pays for being scaled into it and copied to the server.

#include <sys/types.h>

#include <string>

struct ScreenSize {
    int width = 800, height = 600;
    std::string text() const { return std::to_string(width) + "x" + std::to_string(height); }
};

// "1920x1080" -> {1920, 1080}; false when the text is no size.
bool parseScreenSize(const std::string& text, ScreenSize& size);

class XScreen {
public:
    // Starts Xvfb with one screen of that size (24 bits) on display `display`, or on the first
    // free one when it is negative, and the window manager when one is named ("" for none).
    // DISPLAY names the new screen afterwards. False, with a message, when it does not start.
    bool start(const ScreenSize& size, int display, const std::string& windowManager);
    // Ends the window manager and the server.
    void stop();
    ~XScreen() { stop(); }

    pid_t serverPid() const { return server; }

private:
    pid_t server = -1, manager = -1;
};

// CPU time (user and system) of another process so far, in milliseconds; 0 when unreadable.
double processCpuMsOf(pid_t process);
