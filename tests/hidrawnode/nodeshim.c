/* Preloaded into a program under test, this stands in for the kernel's hidraw driver behind one
 * node: opening MOUSECFG_NODE_PATH connects to the emulated receiver's socket
 * (MOUSECFG_NODE_SOCKET) instead. A sequenced-packet socket keeps each report whole, as a hidraw
 * node does, so read(), write(), poll() and close() go to the system unchanged; only the node's
 * ioctls are answered here, from the descriptor file (MOUSECFG_NODE_DESCRIPTOR) and the IDs
 * (MOUSECFG_NODE_IDS, "vvvv:pppp" in hexadecimal). MOUSECFG_NODE_DENY set makes every open fail
 * as a node without the user's access does. The test mounts the node's sysfs entries over /sys;
 * libudev reads only a tree that says it is sysfs, so that tree says so here. Everything else
 * the program opens is its own. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <linux/magic.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/statfs.h>
#include <sys/un.h>
#include <unistd.h>

#define MAX_TRACKED_FD 4096

/* Which descriptors are connections to the node: the kernel reuses numbers, so close() clears. */
static atomic_uchar node_fds[MAX_TRACKED_FD];

static int is_node_path(const char *path)
{
    const char *node = getenv("MOUSECFG_NODE_PATH");
    return node && *node && path && strcmp(path, node) == 0;
}

static int is_node_fd(int fd)
{
    return fd >= 0 && fd < MAX_TRACKED_FD && atomic_load(&node_fds[fd]);
}

static int connect_node(int flags)
{
    if (getenv("MOUSECFG_NODE_DENY")) {
        errno = EACCES;
        return -1;
    }
    if ((flags & O_ACCMODE) != O_RDWR) {
        errno = EINVAL; /* a program that cannot write commands has no use for the node */
        return -1;
    }
    const char *socket_path = getenv("MOUSECFG_NODE_SOCKET");
    struct sockaddr_un address;
    memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (!socket_path || strlen(socket_path) >= sizeof address.sun_path) {
        errno = ENODEV;
        return -1;
    }
    strcpy(address.sun_path, socket_path);
    int type = SOCK_SEQPACKET;
    if (flags & O_CLOEXEC)
        type |= SOCK_CLOEXEC;
    if (flags & O_NONBLOCK)
        type |= SOCK_NONBLOCK;
    const int fd = socket(AF_UNIX, type, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, (const struct sockaddr *)&address, sizeof address) < 0 ||
        fd >= MAX_TRACKED_FD) {
        close(fd);
        errno = ENODEV; /* the receiver is gone, as a node whose device was unplugged */
        return -1;
    }
    atomic_store(&node_fds[fd], 1);
    return fd;
}

typedef int (*open_fn)(const char *, int, ...);
typedef int (*openat_fn)(int, const char *, int, ...);

static mode_t mode_of(int flags, va_list ap)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(ap, int) : 0;
}

#define FORWARD_OPEN(name)                                                                      \
    int name(const char *path, int flags, ...)                                                  \
    {                                                                                           \
        va_list ap;                                                                             \
        va_start(ap, flags);                                                                    \
        const mode_t mode = mode_of(flags, ap);                                                 \
        va_end(ap);                                                                             \
        if (is_node_path(path))                                                                 \
            return connect_node(flags);                                                         \
        static open_fn next;                                                                    \
        if (!next)                                                                              \
            next = (open_fn)dlsym(RTLD_NEXT, #name);                                            \
        return next(path, flags, mode);                                                         \
    }

#define FORWARD_OPENAT(name)                                                                    \
    int name(int dirfd, const char *path, int flags, ...)                                       \
    {                                                                                           \
        va_list ap;                                                                             \
        va_start(ap, flags);                                                                    \
        const mode_t mode = mode_of(flags, ap);                                                 \
        va_end(ap);                                                                             \
        if (is_node_path(path))                                                                 \
            return connect_node(flags);                                                         \
        static openat_fn next;                                                                  \
        if (!next)                                                                              \
            next = (openat_fn)dlsym(RTLD_NEXT, #name);                                          \
        return next(dirfd, path, flags, mode);                                                  \
    }

FORWARD_OPEN(open)
FORWARD_OPEN(open64)
FORWARD_OPENAT(openat)
FORWARD_OPENAT(openat64)

/* The fortified forms a program built with _FORTIFY_SOURCE calls. */
int __open_2(const char *path, int flags)
{
    return open(path, flags);
}

int __open64_2(const char *path, int flags)
{
    return open64(path, flags);
}

int close(int fd)
{
    static int (*next)(int);
    if (!next)
        next = (int (*)(int))dlsym(RTLD_NEXT, "close");
    if (fd >= 0 && fd < MAX_TRACKED_FD)
        atomic_store(&node_fds[fd], 0);
    return next(fd);
}

/* The node's report descriptor, read anew each time: small, and asked for once per open. */
static int read_descriptor(unsigned char *out, size_t capacity)
{
    const char *path = getenv("MOUSECFG_NODE_DESCRIPTOR");
    FILE *f = path ? fopen(path, "rb") : NULL;
    if (!f) {
        errno = EIO;
        return -1;
    }
    const size_t n = fread(out, 1, capacity, f);
    fclose(f);
    return (int)n;
}

static int node_ioctl(unsigned long request, void *arg)
{
    if (request == HIDIOCGRDESCSIZE) {
        unsigned char descriptor[HID_MAX_DESCRIPTOR_SIZE];
        const int n = read_descriptor(descriptor, sizeof descriptor);
        if (n < 0)
            return -1;
        *(int *)arg = n;
        return 0;
    }
    if (request == HIDIOCGRDESC) {
        struct hidraw_report_descriptor *d = arg;
        unsigned char descriptor[HID_MAX_DESCRIPTOR_SIZE];
        const int n = read_descriptor(descriptor, sizeof descriptor);
        if (n < 0)
            return -1;
        if (d->size > (unsigned)n || d->size > HID_MAX_DESCRIPTOR_SIZE) {
            errno = EINVAL;
            return -1;
        }
        memcpy(d->value, descriptor, d->size);
        return 0;
    }
    if (request == HIDIOCGRAWINFO) {
        struct hidraw_devinfo *info = arg;
        unsigned vid = 0, pid = 0;
        const char *ids = getenv("MOUSECFG_NODE_IDS");
        if (!ids || sscanf(ids, "%x:%x", &vid, &pid) != 2) {
            errno = EIO;
            return -1;
        }
        info->bustype = BUS_USB;
        info->vendor = (__s16)vid;
        info->product = (__s16)pid;
        return 0;
    }
    /* Feature and input reports over the control pipe: the receiver's command collection has
     * none, and a device stalls such a request. */
    if (_IOC_TYPE(request) == 'H') {
        errno = EPIPE;
        return -1;
    }
    errno = ENOTTY;
    return -1;
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    if (is_node_fd(fd))
        return node_ioctl(request, arg);
    static int (*next)(int, unsigned long, ...);
    if (!next)
        next = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    return next(fd, request, arg);
}

/* Whether fd lies in the simulated /sys: only while the node is simulated. */
static int in_simulated_sysfs(int fd)
{
    if (!getenv("MOUSECFG_NODE_PATH"))
        return 0;
    char link[64];
    char target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n < 0)
        return 0;
    target[n] = 0;
    return strcmp(target, "/sys") == 0 || strncmp(target, "/sys/", 5) == 0;
}

#define FORWARD_FSTATFS(name, type)                                                             \
    int name(int fd, struct type *buf)                                                          \
    {                                                                                           \
        static int (*next)(int, struct type *);                                                 \
        if (!next)                                                                              \
            next = (int (*)(int, struct type *))dlsym(RTLD_NEXT, #name);                        \
        const int r = next(fd, buf);                                                            \
        if (r == 0 && in_simulated_sysfs(fd))                                                   \
            buf->f_type = SYSFS_MAGIC;                                                          \
        return r;                                                                               \
    }

FORWARD_FSTATFS(fstatfs, statfs)
FORWARD_FSTATFS(fstatfs64, statfs64)
