// Clicks at a point of a Wayland desktop through the virtual pointer of
// wlroots compositors (zwlr_virtual_pointer_v1): for end-to-end tests under a
// headless compositor, which has no pointer of its own.
//
//   zerud-wayland-click X Y WIDTH HEIGHT    (the output's size in pixels)
//
// The pointer exists only while the program runs, and the compositor tells
// clients about it some time after it appears, so the program waits a
// little before moving it and again before letting it go.
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// The two interfaces of the protocol, as wayland-scanner would write them;
// the requests are listed in the protocol's order (their opcodes).
extern const wl_interface kPointerInterface;

const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};

const wl_interface* kCreateWithOutputTypes[] = {&wl_seat_interface, &wl_output_interface,
                                                &kPointerInterface};

const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreateTypes},
    {"destroy", "", kNoTypes},
    {"create_virtual_pointer_with_output", "2?o?on", kCreateWithOutputTypes},
};
// Version 2 is the first whose pointer has a destructor.
constexpr uint32_t kVersion = 2;
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", kVersion, 3, kManagerRequests, 0, nullptr};

enum TPointerRequest { kMotion, kMotionAbsolute, kButton, kAxis, kFrame, kDestroy = 8 };
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},   {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},   {"axis", "uuf", kNoTypes},
    {"frame", "", kNoTypes},       {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes}, {"axis_discrete", "uufi", kNoTypes},
    {"destroy", "", kNoTypes},
};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", kVersion, 9,
                                        kPointerRequests,          0,        nullptr};

constexpr uint32_t kLeftButton = 0x110;  // BTN_LEFT
constexpr int kPressed = 1;
constexpr int kReleased = 0;

struct TGlobals {
  wl_seat* Seat = nullptr;
  wl_proxy* Manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
  auto* globals = static_cast<TGlobals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->Seat == nullptr)
    globals->Seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  if (std::strcmp(interface, kManagerInterface.name) == 0 && version >= kVersion)
    globals->Manager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, kVersion));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t NowMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Wait(wl_display* display, int ms) {
  wl_display_roundtrip(display);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s X Y WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  const uint32_t x = std::strtoul(argv[1], nullptr, 10);
  const uint32_t y = std::strtoul(argv[2], nullptr, 10);
  const uint32_t width = std::strtoul(argv[3], nullptr, 10);
  const uint32_t height = std::strtoul(argv[4], nullptr, 10);
  if (width == 0 || height == 0 || x >= width || y >= height) {
    std::fprintf(stderr, "the point is not on the output\n");
    return 2;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no Wayland display\n");
    return 1;
  }
  TGlobals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_display_roundtrip(display);
  if (globals.Manager == nullptr) {
    std::fprintf(stderr, "the compositor offers no virtual pointer of version 2\n");
    return 1;
  }
  auto* pointer =
      wl_proxy_marshal_constructor(globals.Manager, 0, &kPointerInterface, globals.Seat, nullptr);
  // Clients learn of the new pointer first; only then is a motion seen.
  Wait(display, 300);
  wl_proxy_marshal(pointer, kMotionAbsolute, NowMs(), x, y, width, height);
  wl_proxy_marshal(pointer, kFrame);
  Wait(display, 100);
  wl_proxy_marshal(pointer, kButton, NowMs(), kLeftButton, kPressed);
  wl_proxy_marshal(pointer, kFrame);
  Wait(display, 50);
  wl_proxy_marshal(pointer, kButton, NowMs(), kLeftButton, kReleased);
  wl_proxy_marshal(pointer, kFrame);
  Wait(display, 200);
  wl_proxy_marshal(pointer, kDestroy);
  wl_proxy_destroy(pointer);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
