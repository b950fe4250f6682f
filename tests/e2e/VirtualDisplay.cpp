#include "VirtualDisplay.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <climits>
#include <poll.h>
#include <unistd.h>

namespace {

// Requests on a window that just went away must fail, not end the suite as
// Xlib's default handler would.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// Xvfb writes its display number, one line, once it accepts connections.
std::string readDisplayNumber(int fd, double seconds) {
    std::string number;
    char c = 0;
    pollfd wait{fd, POLLIN, 0};
    while (poll(&wait, 1, static_cast<int>(seconds * 1000)) > 0 && read(fd, &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    return c == '\n' ? number : "";
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
    // Not closed on exec: Xvfb writes to it, and it is closed before the game starts.
    if (pipe(fds) != 0) {
        return false;
    }
    ChildOptions options;
    options.argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]), "-screen", "0", "800x800x24",
                    "-nolisten", "tcp"};
    options.environment = environmentWith({});
    const bool forked = server.start(options);
    close(fds[1]);
    const std::string number = forked ? readDisplayNumber(fds[0], seconds) : "";
    close(fds[0]);
    displayName = ":" + number;
    display = number.empty() ? nullptr : XOpenDisplay(displayName.c_str());
    return display != nullptr;
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
    XImage* shot = windowSize(window, width, height)
                       ? XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap)
                       : nullptr;
    if (shot == nullptr) {
        return Image();
    }
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Xvfb's 24-bit TrueColor visual: 0xRRGGBB.
            const unsigned long pixel = XGetPixel(shot, x, y);
            image.set(x, y,
                      Rgb{static_cast<int>((pixel >> 16) & 0xFF),
                          static_cast<int>((pixel >> 8) & 0xFF), static_cast<int>(pixel & 0xFF)});
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
