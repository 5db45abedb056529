/* Native helper of scripts/bench: starts a program and reports how long it
 * took until the program's first sizeable window was mapped on the X display,
 * and the program's memory one second later.
 *
 *   map_wait TIMEOUT_S PROGRAM [ARGS...]
 *
 * Prints "map_ms=... rss_kb=... hwm_kb=... size=WxH" and then kills the
 * program. With MAP_WAIT_SMAPS=FILE it also copies the program's
 * /proc/PID/smaps there, to see where the memory goes. The program must keep its process id (Wine's
 * loader does: it execs itself), because windows are matched through their _NET_WM_PID property.
 * xdotool polls every 0.5 s, far too coarse here; the map event is exact. */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* Smaller windows (Wine's helper windows, tool tips) are not the main window. */
enum { kMinSide = 100 };

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

static long WindowPid(Display* display, Window window, Atom pidAtom) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != NULL && count == 1 && format == 32) {
        pid = (long)*(unsigned long*)data;
    }
    if (data != NULL)
        XFree(data);
    return pid;
}

static long StatusKb(pid_t pid, const char* key) {
    char path[64], line[256];
    long value = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* file = fopen(path, "r");
    if (file == NULL)
        return -1;
    const size_t keyLength = strlen(key);
    while (fgets(line, sizeof line, file) != NULL) {
        if (strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
            value = strtol(line + keyLength + 1, NULL, 10);
            break;
        }
    }
    fclose(file);
    return value;
}

static void CopySmaps(pid_t pid, const char* target) {
    char path[64], chunk[65536];
    snprintf(path, sizeof path, "/proc/%d/smaps", (int)pid);
    FILE* in = fopen(path, "r");
    FILE* out = fopen(target, "w");
    size_t n;
    while (in != NULL && out != NULL && (n = fread(chunk, 1, sizeof chunk, in)) > 0) {
        fwrite(chunk, 1, n, out);
    }
    if (in != NULL)
        fclose(in);
    if (out != NULL)
        fclose(out);
}

static int IgnoreXErrors(Display* display, XErrorEvent* event) {
    (void)display;
    (void)event; /* a window may be gone before its property is read */
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: map_wait TIMEOUT_S PROGRAM [ARGS...]\n");
        return 2;
    }
    const double timeoutMs = atof(argv[1]) * 1e3;
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map_wait: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXErrors);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mappedMs = -1;
    int width = 0, height = 0;
    while (mappedMs < 0) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify)
                continue;
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, event.xmap.window, &attributes))
                continue;
            if (attributes.width < kMinSide || attributes.height < kMinSide)
                continue;
            if (WindowPid(display, event.xmap.window, pidAtom) != child)
                continue;
            mappedMs = NowMs() - start;
            width = attributes.width;
            height = attributes.height;
            break;
        }
        if (mappedMs >= 0)
            break;
        if (NowMs() - start > timeoutMs || waitpid(child, NULL, WNOHANG) == child)
            break;
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 50);
    }
    int status = 1;
    if (mappedMs >= 0) {
        usleep(1000 * 1000);
        printf("map_ms=%.1f rss_kb=%ld hwm_kb=%ld size=%dx%d\n", mappedMs, StatusKb(child, "VmRSS"),
               StatusKb(child, "VmHWM"), width, height);
        const char* smaps = getenv("MAP_WAIT_SMAPS");
        if (smaps != NULL && *smaps != '\0')
            CopySmaps(child, smaps);
        status = 0;
    } else {
        printf("map_ms=none\n");
    }
    fflush(stdout);
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    return status;
}
