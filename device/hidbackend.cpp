// The process-wide HID backend: hidapi unless a test or the emulator selection put another in.
#include "device/hidbackend.h"

#include "device/hidapibackend.h"

#include <atomic>

namespace mc {

namespace {
std::atomic<HidBackend *> g_backend{nullptr};

HidBackend &hidapiBackend()
{
    static HidapiBackend backend;
    return backend;
}
} // namespace

HidBackend &hidBackend()
{
    HidBackend *b = g_backend.load();
    return b ? *b : hidapiBackend();
}

void setHidBackend(HidBackend *backend)
{
    g_backend.store(backend);
}

} // namespace mc
