#include "VirtualDisplay.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr const char* ServerProgram = "Xvfb";
constexpr const char* ScreenGeometry = "800x800x24";

// Requests on a window that went away (the game just quit) must fail the
// request, not end the suite as Xlib's default handler would.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Reads the display number that Xvfb writes, one line, once it accepts
// connections.
bool readDisplayNumber(int fd, double seconds, std::string& number) {
    const double deadline = nowSeconds() + seconds;
    for (;;) {
        const double left = deadline - nowSeconds();
        if (left <= 0) {
            return false;
        }
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left * 1000) + 1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0) {
            return false;
        }
        if (c == '\n') {
            return !number.empty();
        }
        number += c;
    }
}

}  // namespace

VirtualDisplay::~VirtualDisplay() {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
    server.stop(SIGTERM, 10.0);
}

bool VirtualDisplay::start(double seconds) {
    XSetErrorHandler(ignoreXError);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure = "no pipe for Xvfb";
        return false;
    }
    ChildOptions options;
    options.argv = {ServerProgram, "-displayfd", std::to_string(fds[1]),
                    "-screen",     "0",          ScreenGeometry,
                    "-nolisten",   "tcp"};
    options.environment = environmentWith({});
    options.keptDescriptor = fds[1];
    const bool forked = server.start(options);
    close(fds[1]);
    std::string number;
    const bool ready = forked && readDisplayNumber(fds[0], seconds, number);
    close(fds[0]);
    if (!ready) {
        failure = "Xvfb did not report a display within the time";
        return false;
    }
    displayName = ":" + number;
    display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        failure = "cannot connect to Xvfb at " + displayName;
        return false;
    }
    return true;
}

WindowId VirtualDisplay::findTopLevel(const std::string& caption) const {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes{};
        if (windowName(children[i]) == caption &&
            XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool VirtualDisplay::windowSize(WindowId window, int& width, int& height) const {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return false;
    }
    width = attributes.width;
    height = attributes.height;
    return true;
}

std::string VirtualDisplay::windowName(WindowId window) const {
    char* fetched = nullptr;
    if (XFetchName(display, window, &fetched) == 0 || fetched == nullptr) {
        return "";
    }
    std::string result(fetched);
    XFree(fetched);
    return result;
}

Image VirtualDisplay::grab(WindowId window) const {
    int width = 0;
    int height = 0;
    if (!windowSize(window, width, height)) {
        return Image();
    }
    XImage* shot = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (shot == nullptr) {
        return Image();
    }
    auto channel = [](unsigned long pixel, unsigned long mask) {
        int shift = 0;
        while (mask != 0 && (mask & 1) == 0) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<int>((pixel >> shift) & mask);
    };
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            image.set(x, y,
                      Rgb{channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                          channel(pixel, shot->blue_mask)});
        }
    }
    XDestroyImage(shot);
    return image;
}

std::vector<unsigned long> VirtualDisplay::iconProperty(WindowId window) const {
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, icon, 0, LONG_MAX / 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32) {
        // Xlib hands 32-bit items over as longs.
        const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
        values.assign(items, items + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return values;
}

bool VirtualDisplay::sendDeleteRequest(WindowId window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0;
}
