/* Makes the open of one serial device slow, as a USB or Bluetooth adapter's is: preloaded into
 * Wine (whose server opens the devices), it delays every open of a path that contains
 * $LCT_SLOW_OPEN_MATCH by the milliseconds written in the file $LCT_SLOW_OPEN_FILE, read anew at
 * each open. For the seconds benchmark and the test of a slow trial opening.
 *
 * Wine's server does those opens, and every Wine program waits while it sleeps. To slow the port
 * for one program only, its setting up of the line is delayed instead: tcsetattr on the terminal
 * $LCT_SLOW_SETUP_MATCH (a /dev/pts path) waits the milliseconds in $LCT_SLOW_SETUP_FILE, once
 * per open (the first call after a pause of a second). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static void delay_if_slow(const char *path) {
    const char *match = getenv("LCT_SLOW_OPEN_MATCH");
    const char *file = getenv("LCT_SLOW_OPEN_FILE");
    if (!path || !match || !*match || !file || !strstr(path, match))
        return;
    FILE *f = fopen(file, "r");
    long ms = 0;
    if (f) {
        if (fscanf(f, "%ld", &ms) != 1)
            ms = 0;
        fclose(f);
    }
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (ms > 0 && nanosleep(&t, &t) != 0) {
    }
}

static void sleep_ms(long ms) {
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (ms > 0 && nanosleep(&t, &t) != 0) {
    }
}

static long ms_in_file(const char *file) {
    FILE *f = file ? fopen(file, "r") : NULL;
    long ms = 0;
    if (f) {
        if (fscanf(f, "%ld", &ms) != 1)
            ms = 0;
        fclose(f);
    }
    return ms;
}

static double now_s(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static void delay_setup_if_slow(int fd) {
    static double last_call;
    const char *match = getenv("LCT_SLOW_SETUP_MATCH");
    char link[64], target[256];
    if (!match || !*match)
        return;
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return;
    target[length] = 0;
    if (strcmp(target, match) != 0)
        return;
    double now = now_s();
    int first = now - last_call > 1.0;
    last_call = now;
    if (first) {
        sleep_ms(ms_in_file(getenv("LCT_SLOW_SETUP_FILE")));
        last_call = now_s();
    }
}

#define FORWARD(name, ...)                                  \
    static int (*real)(__VA_ARGS__);                        \
    if (!real)                                              \
        real = (int (*)(__VA_ARGS__))dlsym(RTLD_NEXT, name)

int open(const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    int mode = va_arg(args, int);
    va_end(args);
    FORWARD("open", const char *, int, ...);
    delay_if_slow(path);
    return real(path, flags, mode);
}

int open64(const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    int mode = va_arg(args, int);
    va_end(args);
    FORWARD("open64", const char *, int, ...);
    delay_if_slow(path);
    return real(path, flags, mode);
}

int openat(int dir, const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    int mode = va_arg(args, int);
    va_end(args);
    FORWARD("openat", int, const char *, int, ...);
    delay_if_slow(path);
    return real(dir, path, flags, mode);
}

int tcsetattr(int fd, int actions, const struct termios *settings) {
    FORWARD("tcsetattr", int, int, const struct termios *);
    delay_setup_if_slow(fd);
    return real(fd, actions, settings);
}
