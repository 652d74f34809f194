// The benchmark's looks at the viewer, through the X server it draws on:
//   screen_observer startup RUNS -- CMD...        launch to first frame on screen, peak RSS
//   screen_observer idle SECONDS INSTANCES -- CMD... CPU time over wall time after settling
//   screen_observer keylat PRESSES PERIOD_MS -- CMD... "*" typed via xdotool to changed frame
//   screen_observer still RUN_S -- CMD...  the pointer at the fastest pace for RUN_S seconds,
//                                          then "*" to the picture standing still, Esc to no frame
// A frame counts as on screen once the screen holds a frame's worth of pure white pixels:
// nothing else on this display is white (black root, grey window background).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr long kFrameWhitePixels = 150000;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[noreturn]] void Die(const char* message) {
    std::fprintf(stderr, "screen_observer: %s\n", message);
    std::exit(2);
}

// One rectangle of the root window, read through shared memory.
class Grabber {
  public:
    Grabber(Display* display, int x, int y, int width, int height)
        : display_(display), x_(x), y_(y) {
        const int screen = DefaultScreen(display);
        image_ =
            XShmCreateImage(display, DefaultVisual(display, screen),
                            static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr,
                            &info_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (!image_ || image_->bits_per_pixel != 32) Die("needs a 24-bit screen with MIT-SHM");
        info_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height,
                             IPC_CREAT | 0600);
        info_.shmaddr = image_->data = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
        info_.readOnly = False;
        XShmAttach(display, &info_);
        XSync(display, False);
        shmctl(info_.shmid, IPC_RMID, nullptr);
    }
    ~Grabber() {
        XShmDetach(display_, &info_);
        XDestroyImage(image_);
        shmdt(info_.shmaddr);
    }
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    void Grab() { XShmGetImage(display_, DefaultRootWindow(display_), image_, x_, y_, AllPlanes); }
    const std::uint32_t* Row(int y) const {
        return reinterpret_cast<const std::uint32_t*>(image_->data + y * image_->bytes_per_line);
    }
    int Width() const { return image_->width; }
    int Height() const { return image_->height; }
    std::size_t Bytes() const {
        return static_cast<std::size_t>(image_->bytes_per_line) * Height();
    }
    const char* Data() const { return image_->data; }

  private:
    Display* display_;
    int x_, y_;
    XShmSegmentInfo info_{};
    XImage* image_ = nullptr;
};

struct WhiteArea {
    long count = 0;
    int left = 0, top = 0, right = -1, bottom = -1;
};

WhiteArea FindWhite(const Grabber& grabber) {
    WhiteArea area{0, grabber.Width(), grabber.Height(), -1, -1};
    for (int y = 0; y < grabber.Height(); ++y) {
        const std::uint32_t* row = grabber.Row(y);
        for (int x = 0; x < grabber.Width(); ++x) {
            if ((row[x] & 0xffffff) != 0xffffff) continue;
            ++area.count;
            area.left = std::min(area.left, x);
            area.right = std::max(area.right, x);
            area.top = std::min(area.top, y);
            area.bottom = std::max(area.bottom, y);
        }
    }
    return area;
}

pid_t Launch(char** command) {
    const pid_t pid = fork();
    if (pid < 0) Die("fork failed");
    if (pid == 0) {
        execvp(command[0], command);
        std::perror("screen_observer: exec");
        _exit(127);
    }
    return pid;
}

long KillAndPeakRssKb(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

// Waits for the first frame; returns its white area, or an empty one on timeout.
WhiteArea AwaitFrame(Grabber& screen, Clock::time_point start, double timeoutMs) {
    for (;;) {
        screen.Grab();
        const WhiteArea area = FindWhite(screen);
        if (area.count >= kFrameWhitePixels) return area;
        if (MsSince(start) > timeoutMs) return {};
        std::this_thread::sleep_for(200us);
    }
}

void AwaitNoFrame(Grabber& screen) {
    const auto start = Clock::now();
    do {
        std::this_thread::sleep_for(20ms);
        screen.Grab();
    } while (FindWhite(screen).count >= kFrameWhitePixels && MsSince(start) < 3000);
}

int Startup(Display* display, int runs, char** command) {
    Grabber screen(display, 0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0));
    AwaitNoFrame(screen);
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t pid = Launch(command);
        const WhiteArea area = AwaitFrame(screen, start, 10000);
        const double ms = MsSince(start);
        // Let the frame table fill and a few passes run before reading the peak.
        std::this_thread::sleep_for(1500ms);
        const long rss = KillAndPeakRssKb(pid);
        if (area.count == 0) Die("no frame appeared");
        std::printf("startup_ms %.2f rss_kb %ld\n", ms, rss);
        std::fflush(stdout);
        AwaitNoFrame(screen);
    }
    return 0;
}

// CPU time of every thread of a process, in nanoseconds.
double CpuNs(pid_t pid) {
    double total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks)) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns) total += ns;
    }
    return total;
}

int Idle(Display* display, double seconds, int instances, char** command) {
    Grabber screen(display, 0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0));
    std::vector<pid_t> pids;
    const auto launched = Clock::now();
    for (int i = 0; i < instances; ++i) pids.push_back(Launch(command));
    if (AwaitFrame(screen, launched, 10000).count == 0) Die("no frame appeared");
    // Start-up work is not idle time, nor is the first turn (18 frames at 4 fps), in which
    // the viewer finds each step's changed tiles and gifview decodes each frame: begin
    // counting once every instance turns as it will from then on.
    std::this_thread::sleep_for(6s);
    std::vector<double> before;
    for (const pid_t pid : pids) before.push_back(CpuNs(pid));
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wallNs = MsSince(start) * 1e6;
    for (std::size_t i = 0; i < pids.size(); ++i) {
        const double cpu = CpuNs(pids[i]) - before[i];
        const long rss = KillAndPeakRssKb(pids[i]);
        std::printf("idle_pct %.3f rss_kb %ld\n", 100.0 * cpu / wallNs, rss);
    }
    return 0;
}

// Types "*" through one long-lived xdotool reading commands from a pipe, so each key costs
// a line written, not a process started.
class Typist {
  public:
    Typist() {
        int fds[2];
        if (pipe(fds) != 0) Die("pipe failed");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[0], 0);
            close(fds[0]);
            close(fds[1]);
            execlp("xdotool", "xdotool", "-", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[0]);
        fd_ = fds[1];
    }
    ~Typist() {
        close(fd_);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    Typist(const Typist&) = delete;
    Typist& operator=(const Typist&) = delete;
    void Asterisk() { Key("asterisk"); }
    void Key(const std::string& name) { Command("key " + name); }
    void Command(const std::string& command) {
        const std::string line = command + "\n";
        if (write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            Die("xdotool pipe failed");
    }

  private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

// Polls until the screen stops changing for quietMs.
void AwaitStill(Grabber& region, std::vector<char>& last, double quietMs) {
    auto still = Clock::now();
    const auto start = Clock::now();
    while (MsSince(still) < quietMs && MsSince(start) < 10000) {
        std::this_thread::sleep_for(1ms);
        region.Grab();
        if (std::memcmp(region.Data(), last.data(), last.size()) != 0) {
            std::memcpy(last.data(), region.Data(), last.size());
            still = Clock::now();
        }
    }
}

int KeyLatency(Display* display, int presses, double periodMs, char** command) {
    Grabber screen(display, 0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0));
    const auto start = Clock::now();
    const pid_t pid = Launch(command);
    const WhiteArea area = AwaitFrame(screen, start, 10000);
    if (area.count == 0) Die("no frame appeared");
    Grabber region(display, area.left, area.top, area.right - area.left + 1,
                   area.bottom - area.top + 1);
    std::vector<char> last(region.Bytes());
    region.Grab();
    std::memcpy(last.data(), region.Data(), last.size());
    const double quietMs = std::max(3 * periodMs, 150.0);
    std::this_thread::sleep_for(500ms);  // frame table filled, loop running

    Typist typist;
    typist.Asterisk();  // stop the start-up run; from here each "*" steps one frame
    AwaitStill(region, last, quietMs);

    std::mt19937 random(5);
    std::uniform_real_distribution<double> phase(0.0, periodMs);
    for (int press = 0; press < presses; ++press) {
        // Land the key at a random point of the pass.
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(phase(random)));
        const auto sent = Clock::now();
        typist.Asterisk();
        double latency = -1;
        while (MsSince(sent) < 2 * periodMs + 2000) {
            region.Grab();
            if (std::memcmp(region.Data(), last.data(), last.size()) != 0) {
                latency = MsSince(sent);
                break;
            }
            std::this_thread::sleep_for(100us);
        }
        std::printf("latency_ms %.3f\n", latency);
        std::fflush(stdout);
        std::memcpy(last.data(), region.Data(), last.size());
        AwaitStill(region, last, quietMs);
    }
    KillAndPeakRssKb(pid);
    return 0;
}

// The pointer 4 pixels into the picture from its top-left sets the fastest pace. After
// runSeconds at it, "*" is typed: the time from the key to the last change of the picture, once
// it has stood for a second; then Esc: the time from the key until no frame is on screen.
int StillAfterRun(Display* display, double runSeconds, char** command) {
    Grabber screen(display, 0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0));
    const auto start = Clock::now();
    const pid_t pid = Launch(command);
    const WhiteArea area = AwaitFrame(screen, start, 10000);
    if (area.count == 0) Die("no frame appeared");
    // Started now, with a key the viewer takes no character from: xdotool's own start-up and
    // first key are not the viewer's latency.
    Typist typist;
    typist.Key("shift");
    // The white area may take in the caption's letters: the picture's top is found from its
    // bottom row, the frame's last one shown (480 rows).
    const int pictureTop = area.bottom - 479;
    // Moved as a person moves it (a warp reaches the toolkit as no move); moves before the
    // loop has started are undone by its start values, so it is moved again after.
    for (const int at : {5, 4}) {
        std::this_thread::sleep_for(1000ms);
        typist.Command("mousemove " + std::to_string(area.left + at) + " " +
                       std::to_string(pictureTop + at));
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(runSeconds));

    Grabber region(display, area.left, area.top, area.right - area.left + 1,
                   area.bottom - area.top + 1);
    std::vector<char> last(region.Bytes());
    const auto sent = Clock::now();
    typist.Asterisk();
    auto changed = sent;
    region.Grab();
    std::memcpy(last.data(), region.Data(), last.size());
    while (MsSince(changed) < 1000 && MsSince(sent) < 60000) {
        std::this_thread::sleep_for(1ms);
        region.Grab();
        if (std::memcmp(region.Data(), last.data(), last.size()) != 0) {
            std::memcpy(last.data(), region.Data(), last.size());
            changed = Clock::now();
        }
    }
    std::printf("still_ms %.3f\n",
                std::chrono::duration<double, std::milli>(changed - sent).count());
    const auto escaped = Clock::now();
    typist.Key("Escape");
    do {
        std::this_thread::sleep_for(1ms);
        screen.Grab();
    } while (FindWhite(screen).count >= kFrameWhitePixels && MsSince(escaped) < 60000);
    std::printf("esc_ms %.3f\n", MsSince(escaped));
    std::fflush(stdout);
    KillAndPeakRssKb(pid);
    return 0;
}

char** CommandAfterDashes(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--") == 0 && i + 1 < argc) return argv + i + 1;
    Die("usage: screen_observer startup|idle|keylat|still ARGS -- COMMAND...");
}

}  // namespace

int BenchMain(int argc, char** argv) {
    if (argc < 3) CommandAfterDashes(0, argv);
    char** command = CommandAfterDashes(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) Die("cannot open display");
    if (!XShmQueryExtension(display)) Die("needs MIT-SHM");
    const std::string mode = argv[1];
    if (mode == "startup") return Startup(display, std::atoi(argv[2]), command);
    if (mode == "idle" && argc > 3)
        return Idle(display, std::atof(argv[2]), std::atoi(argv[3]), command);
    if (mode == "keylat" && argc > 3)
        return KeyLatency(display, std::atoi(argv[2]), std::atof(argv[3]), command);
    if (mode == "still") return StillAfterRun(display, std::atof(argv[2]), command);
    CommandAfterDashes(0, argv);
    return 2;
}
