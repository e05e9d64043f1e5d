#include "x_screen.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

pid_t spawn(const std::vector<std::string>& arguments) {
    const pid_t child = fork();
    if (child != 0) return child;
    // The benchmark's own output stays readable: the server's and the manager's go nowhere.
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::_Exit(127);
}

void end(pid_t& process) {
    if (process <= 0) return;
    kill(process, SIGTERM);
    waitpid(process, nullptr, 0);
    process = -1;
}

// The display number Xvfb writes to the descriptor it was given, once it accepts clients.
int readDisplayNumber(int descriptor) {
    std::string text;
    char c = 0;
    while (read(descriptor, &c, 1) == 1 && c != '\n') text += c;
    return text.empty() ? -1 : std::atoi(text.c_str());
}

}  // namespace

bool parseScreenSize(const std::string& text, ScreenSize& size) {
    int width = 0, height = 0;
    char separator = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c", &width, &separator, &height, &extra) != 3 || separator != 'x')
        return false;
    if (width < 320 || height < 240 || width > 8192 || height > 8192) return false;
    size = {width, height};
    return true;
}

bool XScreen::start(const ScreenSize& size, int display, const std::string& windowManager) {
    int ready[2];
    if (pipe(ready) != 0) return false;
    std::vector<std::string> arguments{"Xvfb"};
    if (display >= 0) arguments.push_back(":" + std::to_string(display));
    const std::string screen = size.text() + "x24";
    // -displayfd: the server says its display number on the pipe once it is ready.
    arguments.insert(arguments.end(),
                     {"-displayfd", std::to_string(ready[1]), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
    server = spawn(arguments);
    close(ready[1]);
    const int number = readDisplayNumber(ready[0]);
    close(ready[0]);
    if (number < 0) {
        std::fprintf(stderr, "Xvfb did not start a %s screen%s\n", screen.c_str(),
                     display >= 0 ? (" on :" + std::to_string(display)).c_str() : "");
        end(server);
        return false;
    }
    setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
    if (!windowManager.empty()) {
        manager = spawn({windowManager});
        // The manager takes the screen over before the game's window is made.
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        if (waitpid(manager, nullptr, WNOHANG) == manager) {
            std::fprintf(stderr, "the window manager %s did not start\n", windowManager.c_str());
            manager = -1;
            end(server);
            return false;
        }
    }
    return true;
}

void XScreen::stop() {
    end(manager);
    end(server);
}

double processCpuMsOf(pid_t process) {
    std::ifstream file("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    if (!std::getline(file, line)) return 0;
    // Fields after the command name (which may hold spaces) start at its closing parenthesis.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) user = std::stoull(field);
        if (index == 15) {
            system = std::stoull(field);
            break;
        }
    }
    return 1000.0 * static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}
