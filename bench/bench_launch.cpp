// Starts programs under the X server of $DISPLAY and watches them from
// outside, so the programs carry no hook of their own:
//
//   bench_launch startup RUNS PROGRAM...  time from exec to the program's
//       first top-level window being mapped, and the peak resident memory of
//       the process; PROGRAMs take turns, after one unmeasured warm-up each.
//       Prints "PROGRAM median_ms min_ms max_ms median_peak_kB" per program.
//   bench_launch idle SECONDS PROGRAM...  CPU time (user + system, from
//       /proc/PID/stat) that each shown program uses over SECONDS, as percent
//       of one core. Prints "PROGRAM percent" per program.
//
// The window is seen through the MapNotify events of the root window, which
// arrive the moment the server maps it, with no polling delay.

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string &message)
{
    std::fprintf(stderr, "bench_launch: %s\n", message.c_str());
    std::exit(1);
}

class Display
{
public:
    Display()
    {
        FConnection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(FConnection))
            Fail("cannot connect to the X server of DISPLAY");
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(FConnection, screen->root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            FConnection, xcb_intern_atom(FConnection, 0, sizeof name - 1, name), nullptr);
        if (!atom)
            Fail("cannot intern _NET_WM_PID");
        FPidAtom = atom->atom;
        std::free(atom);
        xcb_flush(FConnection);
    }
    ~Display() { xcb_disconnect(FConnection); }
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;

    // Waits until a top-level window of process pid is mapped; returns when
    // that happened, or nothing when the process ended or time ran out.
    std::optional<Clock::time_point> WaitForWindow(pid_t pid, std::chrono::seconds limit)
    {
        const Clock::time_point end = Clock::now() + limit;
        while (Clock::now() < end) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(FConnection)) {
                const Clock::time_point seen = Clock::now();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window =
                    mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : 0;
                std::free(event);
                if (mapped && WindowPid(window) == pid)
                    return seen;
            }
            if (xcb_connection_has_error(FConnection))
                Fail("lost the X server");
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return std::nullopt;
            pollfd fd{xcb_get_file_descriptor(FConnection), POLLIN, 0};
            poll(&fd, 1, 5);
        }
        return std::nullopt;
    }

private:
    pid_t WindowPid(xcb_window_t window)
    {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            FConnection,
            xcb_get_property(FConnection, 0, window, FPidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        pid_t pid = -1;
        if (reply && xcb_get_property_value_length(reply) == 4)
            pid = pid_t(*static_cast<uint32_t *>(xcb_get_property_value(reply)));
        std::free(reply);
        return pid;
    }

    xcb_connection_t *FConnection = nullptr;
    xcb_atom_t FPidAtom = XCB_ATOM_NONE;
};

pid_t Start(const std::string &program)
{
    const pid_t pid = fork();
    if (pid < 0)
        Fail("fork failed");
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        std::fprintf(stderr, "bench_launch: cannot run %s: %s\n", program.c_str(),
                     std::strerror(errno));
        _exit(127);
    }
    return pid;
}

// Ends the program and returns its peak resident memory in kB.
long Stop(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        Fail("wait4 failed");
    return usage.ru_maxrss;
}

// User plus system time of a process and all its threads, in clock ticks.
long long CpuTicks(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it are counted
    // from its closing parenthesis. utime and stime are fields 14 and 15.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        Fail("cannot read /proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14)
            utime = std::stoll(field);
        if (number == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return utime + stime;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Startup(int runs, const std::vector<std::string> &programs)
{
    Display display;
    std::vector<std::vector<double>> ms(programs.size()), kb(programs.size());
    // Run 0 warms the file cache and the font cache and is not counted.
    for (int run = 0; run <= runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const Clock::time_point start = Clock::now();
            const pid_t pid = Start(programs[i]);
            const auto shown = display.WaitForWindow(pid, std::chrono::seconds(30));
            if (!shown) {
                Stop(pid);
                Fail(programs[i] + " showed no window");
            }
            // Let the first paint and whatever follows the showing happen, so
            // the peak memory is that of a running window.
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            const long peak = Stop(pid);
            if (run > 0) {
                ms[i].push_back(std::chrono::duration<double, std::milli>(*shown - start).count());
                kb[i].push_back(double(peak));
            }
        }
    }
    for (std::size_t i = 0; i < programs.size(); ++i)
        std::printf("%s %.2f %.2f %.2f %.0f\n", programs[i].c_str(), Median(ms[i]),
                    *std::min_element(ms[i].begin(), ms[i].end()),
                    *std::max_element(ms[i].begin(), ms[i].end()), Median(kb[i]));
    return 0;
}

int Idle(int seconds, const std::vector<std::string> &programs)
{
    Display display;
    std::vector<pid_t> pids;
    for (const std::string &program : programs) {
        const pid_t pid = Start(program);
        pids.push_back(pid);
        if (!display.WaitForWindow(pid, std::chrono::seconds(30))) {
            for (pid_t started : pids)
                Stop(started);
            Fail(program + " showed no window");
        }
    }
    // Start-up work is over when the measuring begins.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::vector<long long> before;
    for (pid_t pid : pids)
        before.push_back(CpuTicks(pid));
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    std::vector<long long> after;
    for (pid_t pid : pids)
        after.push_back(CpuTicks(pid));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    for (std::size_t i = 0; i < pids.size(); ++i) {
        Stop(pids[i]);
        const double cpu = double(after[i] - before[i]) / ticksPerSecond;
        std::printf("%s %.3f\n", programs[i].c_str(), 100 * cpu / elapsed);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4)
        Fail("usage: bench_launch startup RUNS PROGRAM... | idle SECONDS PROGRAM...");
    const std::string mode = argv[1];
    const int count = std::atoi(argv[2]);
    const std::vector<std::string> programs(argv + 3, argv + argc);
    if (count < 1)
        Fail("RUNS and SECONDS must be at least 1");
    if (mode == "startup")
        return Startup(count, programs);
    if (mode == "idle")
        return Idle(count, programs);
    Fail("unknown mode " + mode);
}
