// A pointer for the Wayland end-to-end run: a compositor's headless backend has no input
// devices, so its seat offers no pointer to any client. This creates one through
// zwlr_virtual_pointer_manager_v1 and moves it as standard input says, one command a line:
//   move X Y     (absolute, in the output's logical pixels; argv gives the output's size)
//   press        (left button down)
//   release      (left button up)
// Each command is acknowledged with "ok" once the compositor has it. Ends at end of input.
//   usage: e2e-wlpointer WIDTH HEIGHT
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr uint32_t kLeftButton = 0x110; // BTN_LEFT

zwlr_virtual_pointer_manager_v1 *g_manager = nullptr;

uint32_t nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint32_t(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

void onGlobal(void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        g_manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void onGlobalRemove(void *, wl_registry *, uint32_t) {}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e-wlpointer WIDTH HEIGHT\n");
        return 64;
    }
    const uint32_t width = uint32_t(std::atoi(argv[1]));
    const uint32_t height = uint32_t(std::atoi(argv[2]));
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "e2e-wlpointer: no Wayland compositor\n");
        return 1;
    }
    wl_registry *registry = wl_display_get_registry(display);
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (!g_manager) {
        std::fprintf(stderr, "e2e-wlpointer: the compositor has no virtual pointer\n");
        return 1;
    }
    zwlr_virtual_pointer_v1 *pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g_manager, nullptr);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);

    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned x = 0, y = 0;
        if (std::sscanf(line, "move %u %u", &x, &y) == 2) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y, width, height);
        } else if (std::strncmp(line, "press", 5) == 0) {
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), kLeftButton,
                                           WL_POINTER_BUTTON_STATE_PRESSED);
        } else if (std::strncmp(line, "release", 7) == 0) {
            zwlr_virtual_pointer_v1_button(pointer, nowMs(), kLeftButton,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            std::printf("unknown\n");
            std::fflush(stdout);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        std::printf("ok\n");
        std::fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(g_manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
