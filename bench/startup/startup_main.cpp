// Start-up benchmark: from launching the program to its first presented frames, through the
// game's own start-up on the real SDL backend, split into its steps. Run it under Xvfb:
//   startup GAME_DIR [--runs N]
// Each run launches this program afresh (so loading the libraries counts) and stops at the
// first drawn menu frame. Prints per step the median over the runs, with the lowest and
// highest run in brackets, then what the game said of how it draws its screen (the picture
// scale it chose).

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "media/desktop/sdl_media.h"
#include "play/game.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t nanosecondsOf(Clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// The moments one launch went through, in order: name and steady-clock time.
using Stamps = std::vector<std::pair<std::string, Clock::time_point>>;

// The real backend, noting the first frames the menu presents and ending the run after the
// first drawn one (the menu first shows one cleared frame).
class StartupMedia : public SdlMedia {
public:
    explicit StartupMedia(Stamps& stamps) : stamps(stamps) {}
    bool startedUp = false;

protected:
    void showFrame() override {
        SdlMedia::showFrame();
        if (!startedUp) return;
        menuPresents += 1;
        stamps.emplace_back(menuPresents == 1 ? "first frame (cleared)" : "first menu frame", Clock::now());
        if (menuPresents == 2) report();
    }

private:
    void report() {
        const ScreenOpening& opening = openingTimes();
        // The screen's own stages go in before the step that holds them.
        Stamps all(stamps.begin(), stamps.begin() + 2);  // launch, main
        const std::pair<const char*, Clock::time_point> stages[] = {
            {"SDL video", opening.videoReady},    {"window", opening.windowReady},
            {"renderer", opening.rendererReady},  {"two cleared presents", opening.cleared},
            {"audio device", opening.audioReady}, {"refresh probe", opening.probeDone}};
        for (const auto& [name, time] : stages) all.emplace_back(name, time);
        all.insert(all.end(), stamps.begin() + 2, stamps.end());
        for (size_t i = 1; i < all.size(); ++i) {
            const double ms = std::chrono::duration<double, std::milli>(all[i].second - all[i - 1].second).count();
            std::printf("%s|%f\n", all[i].first.c_str(), ms);
        }
        std::printf("total to the first menu frame|%f\n",
                    std::chrono::duration<double, std::milli>(all.back().second - all.front().second).count());
        std::fflush(stdout);
        std::_Exit(0);
    }

    Stamps& stamps;
    int menuPresents = 0;
};

int runChild(int64_t launchNanoseconds) {
    Stamps stamps{{"launch", Clock::time_point(std::chrono::nanoseconds(launchNanoseconds))},
                  {"program loaded", Clock::now()}};
    auto media = std::make_unique<StartupMedia>(stamps);
    auto game = std::make_unique<Game>(*media);
    ShellState shell;
    startUp(*game, shell, [&stamps](const char* step) {
        if (std::string(step) != "screen") stamps.emplace_back(step, Clock::now());
    });
    media->startedUp = true;
    return runMenuCycles(*game, shell);
}

// What the launches said on standard output besides their timings, each once.
std::set<std::string> said;

// One launch in a fresh process; its lines "step|ms".
std::vector<std::pair<std::string, double>> launchOnce(const char* self) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        const std::string launch = std::to_string(nanosecondsOf(Clock::now()));
        execl(self, self, "--child", launch.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    close(pipeEnds[1]);
    FILE* in = fdopen(pipeEnds[0], "r");
    std::vector<std::pair<std::string, double>> rows;
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
        std::string text(line);
        const size_t bar = text.find('|');
        if (bar != std::string::npos)
            rows.emplace_back(text.substr(0, bar), std::stod(text.substr(bar + 1)));
        else
            said.insert(text);
    }
    std::fclose(in);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "a launch failed (status %d)\n", status);
    return rows;
}

void printTable(const std::vector<std::vector<std::pair<std::string, double>>>& runs) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> values;
    for (const auto& run : runs)
        for (const auto& [step, ms] : run) {
            if (!values.count(step)) order.push_back(step);
            values[step].push_back(ms);
        }
    std::printf("%zu launches; median [lowest-highest]\n", runs.size());
    std::printf("| step | ms |\n|---|---|\n");
    for (const std::string& step : order) {
        std::vector<double>& v = values[step];
        std::sort(v.begin(), v.end());
        std::printf("| %s | %.1f [%.1f-%.1f] |\n", step.c_str(), v[v.size() / 2], v.front(), v.back());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return runChild(std::atoll(argv[2]));
    std::string gameDir;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else
            gameDir = arg;
    }
    if (gameDir.empty()) {
        std::fprintf(stderr, "usage: startup GAME_DIR [--runs N]\n");
        return 2;
    }
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::filesystem::current_path(gameDir);
    std::vector<std::vector<std::pair<std::string, double>>> all;
    for (int run = 0; run < runs; ++run) all.push_back(launchOnce(self.c_str()));
    printTable(all);
    for (const std::string& line : said) std::printf("the game said: %s", line.c_str());
    return 0;
}
