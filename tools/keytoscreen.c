/* SPDX-License-Identifier: MIT */
/*
 * Key to screen, timed from outside the program: presses a key through XTest and
 * watches the X server's damage reports on the root window until the screen has been
 * quiet for a while. The time of a press is from just before the key is sent to the
 * last damage report before the quiet, as this client receives them.
 *
 *   tessix-keytoscreen [--presses N] [--quiet-ms Q] [--gap-ms G] [--timeout-ms T]
 *                      [--baseline] KEY...
 *
 * The keys (keysym names: space, Up, Down) are pressed in turn, N presses in all, on
 * whatever window has the keyboard focus. With --baseline the client first maps a
 * window of its own over the whole screen and gives it the focus; that window answers
 * each key press by changing one pixel, the smallest change a program can show, so the
 * same measure on it is the cost of the path itself (XTest, event, drawing, damage).
 *
 * One line per press on standard output: the key, the time in microseconds (or
 * "none" when nothing was drawn within the timeout), the number of damage reports and
 * the damaged pixels they add up to.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

enum { kMaxKeys = 16 };

struct options {
    int presses;
    int quiet_ms;
    int gap_ms;
    int timeout_ms;
    int baseline;
    int key_count;
    const char* keys[kMaxKeys];
};

/* The window of the baseline: its own connection, so that it receives its key presses
 * as any other client would. */
struct baseline {
    Display* dpy;
    Window win;
    GC gc;
    unsigned long pixels[2];
    int presses;
};

struct press_result {
    long long micros; /* -1: nothing was drawn */
    int reports;
    long long area;
};

static long long now_us(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

static void usage_exit(const char* why) {
    fprintf(stderr,
            "tessix-keytoscreen: %s\nusage: tessix-keytoscreen [--presses N] [--quiet-ms Q] "
            "[--gap-ms G] [--timeout-ms T] [--baseline] KEY...\n",
            why);
    exit(2);
}

static int int_arg(int argc, char** argv, int* i) {
    if (*i + 1 >= argc) {
        usage_exit("an option lacks its value");
    }
    *i += 1;
    return atoi(argv[*i]);
}

static struct options parse_options(int argc, char** argv) {
    struct options o = {20, 60, 40, 2000, 0, 0, {0}};
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--presses") == 0) {
            o.presses = int_arg(argc, argv, &i);
        } else if (strcmp(argv[i], "--quiet-ms") == 0) {
            o.quiet_ms = int_arg(argc, argv, &i);
        } else if (strcmp(argv[i], "--gap-ms") == 0) {
            o.gap_ms = int_arg(argc, argv, &i);
        } else if (strcmp(argv[i], "--timeout-ms") == 0) {
            o.timeout_ms = int_arg(argc, argv, &i);
        } else if (strcmp(argv[i], "--baseline") == 0) {
            o.baseline = 1;
        } else if (argv[i][0] == '-') {
            usage_exit("unknown option");
        } else if (o.key_count < kMaxKeys) {
            o.keys[o.key_count++] = argv[i];
        }
    }
    if (o.key_count == 0 || o.presses <= 0 || o.quiet_ms <= 0 || o.timeout_ms <= 0) {
        usage_exit("needs at least one key and positive counts");
    }
    return o;
}

/* Answers the baseline window's events: each key press flips one pixel. */
static void serve_baseline(struct baseline* b) {
    while (XPending(b->dpy) > 0) {
        XEvent ev;
        XNextEvent(b->dpy, &ev);
        if (ev.type == KeyPress) {
            b->presses += 1;
            XSetForeground(b->dpy, b->gc, b->pixels[b->presses % 2]);
            XDrawPoint(b->dpy, b->win, b->gc, 10, 10);
            XFlush(b->dpy);
        }
    }
}

static int open_baseline(struct baseline* b) {
    b->dpy = XOpenDisplay(NULL);
    if (!b->dpy) {
        return 0;
    }
    const int screen = DefaultScreen(b->dpy);
    b->pixels[0] = WhitePixel(b->dpy, screen);
    b->pixels[1] = BlackPixel(b->dpy, screen);
    XSetWindowAttributes attrs;
    attrs.override_redirect = True;
    attrs.background_pixel = b->pixels[0];
    attrs.event_mask = KeyPressMask | ExposureMask | StructureNotifyMask;
    b->win = XCreateWindow(b->dpy, RootWindow(b->dpy, screen), 0, 0,
                           (unsigned)DisplayWidth(b->dpy, screen),
                           (unsigned)DisplayHeight(b->dpy, screen), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attrs);
    b->gc = XCreateGC(b->dpy, b->win, 0, NULL);
    XMapRaised(b->dpy, b->win);
    for (;;) {
        XEvent ev;
        XNextEvent(b->dpy, &ev);
        if (ev.type == MapNotify) {
            break;
        }
    }
    XSetInputFocus(b->dpy, b->win, RevertToParent, CurrentTime);
    XSync(b->dpy, False);
    b->presses = 0;
    return 1;
}

/* Waits for events on the measuring connection (and serves the baseline window) until
 * the deadline; returns the number of damage reports read and adds their area. */
static int read_damage(Display* dpy, int damage_event, struct baseline* b, long long deadline,
                       long long* last, long long* area) {
    int reports = 0;
    for (;;) {
        while (XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == damage_event + XDamageNotify) {
                const XDamageNotifyEvent* de = (const XDamageNotifyEvent*)&ev;
                *last = now_us();
                *area += (long long)de->area.width * de->area.height;
                reports += 1;
            }
        }
        if (b->dpy) {
            serve_baseline(b);
        }
        if (reports > 0) {
            return reports;
        }
        const long long left = deadline - now_us();
        if (left <= 0) {
            return 0;
        }
        struct pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0},
                                {b->dpy ? ConnectionNumber(b->dpy) : -1, POLLIN, 0}};
        const int timeout_ms = (int)((left + 999) / 1000);
        if (poll(fds, 2, timeout_ms) < 0 && errno != EINTR) {
            return 0;
        }
    }
}

/* Reads damage until none has come for quiet_ms. */
static void settle(Display* dpy, int damage_event, struct baseline* b, int quiet_ms) {
    long long last = 0;
    long long area = 0;
    while (read_damage(dpy, damage_event, b, now_us() + quiet_ms * 1000LL, &last, &area) > 0) {
    }
}

static struct press_result press(Display* dpy, int damage_event, struct baseline* b, KeyCode code,
                                 const struct options* o) {
    struct press_result r = {-1, 0, 0};
    long long last = 0;
    const long long start = now_us();
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XFlush(dpy);
    long long deadline = start + o->timeout_ms * 1000LL;
    for (;;) {
        const int n = read_damage(dpy, damage_event, b, deadline, &last, &r.area);
        if (n == 0) {
            break;
        }
        r.reports += n;
        deadline = last + o->quiet_ms * 1000LL;
    }
    if (r.reports > 0) {
        r.micros = last - start;
    }
    return r;
}

int main(int argc, char** argv) {
    const struct options o = parse_options(argc, argv);
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "tessix-keytoscreen: cannot open the display\n");
        return 1;
    }
    int damage_event = 0;
    int damage_error = 0;
    int xtest_event = 0;
    int xtest_error = 0;
    int major = 0;
    int minor = 0;
    if (!XDamageQueryExtension(dpy, &damage_event, &damage_error) ||
        !XTestQueryExtension(dpy, &xtest_event, &xtest_error, &major, &minor)) {
        fprintf(stderr, "tessix-keytoscreen: the server lacks DAMAGE or XTEST\n");
        return 1;
    }
    KeyCode codes[kMaxKeys];
    for (int k = 0; k < o.key_count; ++k) {
        const KeySym sym = XStringToKeysym(o.keys[k]);
        codes[k] = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy, sym);
        if (codes[k] == 0) {
            fprintf(stderr, "tessix-keytoscreen: no key code for %s\n", o.keys[k]);
            return 1;
        }
    }
    struct baseline b = {NULL, 0, 0, {0, 0}, 0};
    if (o.baseline && !open_baseline(&b)) {
        fprintf(stderr, "tessix-keytoscreen: cannot open the baseline window\n");
        return 1;
    }
    const Damage damage = XDamageCreate(dpy, DefaultRootWindow(dpy), XDamageReportRawRectangles);
    XSync(dpy, False);
    settle(dpy, damage_event, &b, o.quiet_ms);
    for (int i = 0; i < o.presses; ++i) {
        const int k = i % o.key_count;
        const struct press_result r = press(dpy, damage_event, &b, codes[k], &o);
        if (r.micros < 0) {
            printf("%s none 0 0\n", o.keys[k]);
        } else {
            printf("%s %lld %d %lld\n", o.keys[k], r.micros, r.reports, r.area);
        }
        fflush(stdout);
        const struct timespec gap = {o.gap_ms / 1000, (o.gap_ms % 1000) * 1000000L};
        nanosleep(&gap, NULL);
        settle(dpy, damage_event, &b, o.quiet_ms);
    }
    XDamageDestroy(dpy, damage);
    if (b.dpy) {
        XCloseDisplay(b.dpy);
    }
    XCloseDisplay(dpy);
    return 0;
}
