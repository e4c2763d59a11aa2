/* Makes the open of one serial device slow, as a USB or Bluetooth adapter's is: preloaded into
 * Wine (whose server opens the devices), it delays every open of a path that contains
 * $LCT_SLOW_OPEN_MATCH by the milliseconds written in the file $LCT_SLOW_OPEN_FILE, read anew at
 * each open. For the seconds benchmark and the test of a slow trial opening. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

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
