// Times one start of a windowed program on an X display: from just before the program is
// started until the X server maps a top-level window of the given size, then lets the program
// run a little longer (so that its first paint counts) and ends it.
//
// Usage: startup_probe WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]
// Prints one line "<milliseconds to map> <peak resident KiB>"; exit status 1 when no such
// window was mapped within 20 s or the program ended first.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace
{

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

// The size of `window`, or nothing when it is gone already.
std::optional<std::pair<int, int>> WindowSize(xcb_connection_t *connection, xcb_window_t window)
{
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return std::nullopt;
    return std::pair<int, int>(geometry->width, geometry->height);
}

// Waits until a child of the root window with the given size is mapped; false on time-out.
bool WaitForMappedWindow(xcb_connection_t *connection, int width, int height,
                         Clock::time_point deadline)
{
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(connection)}) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
            if (WindowSize(connection, map->window) == std::pair<int, int>(width, height))
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(connection))
            return false;
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const int settleMs = std::atoi(argv[3]);

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_probe: cannot open the X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[4], nullptr, nullptr, argv + 4, environ) != 0) {
        std::fprintf(stderr, "startup_probe: cannot start %s\n", argv[4]);
        return 2;
    }
    const bool mapped =
        WaitForMappedWindow(connection, width, height, start + std::chrono::seconds(20));
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    if (mapped) {
        pollfd none{-1, 0, 0};
        poll(&none, 0, settleMs);
    }
    int status = 0;
    rusage usage{};
    const bool endedEarly = waitpid(pid, &status, WNOHANG) == pid;
    if (!endedEarly) {
        kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
    }
    xcb_disconnect(connection);
    if (!mapped || endedEarly) {
        std::fprintf(stderr, "startup_probe: %s mapped no %dx%d window\n", argv[4], width, height);
        return 1;
    }
    std::printf("%.1f %ld\n", milliseconds, usage.ru_maxrss);
    return 0;
}
