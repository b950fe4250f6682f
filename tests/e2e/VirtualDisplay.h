#pragma once

#include "ChildProcess.h"
#include "Image.h"

#include <string>
#include <vector>

// Xlib's own types stay in the .cpp: its macros (None, Status, Bool) clash
// with GoogleTest's names.
struct _XDisplay;
using WindowId = unsigned long;  // an X window, as Xlib's Window

// An Xvfb server of one test's own (800 x 800, 24 bits, no TCP) and the
// suite's connection to it. The server picks a free display number itself.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();  // closes the connection, then stops the server
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool start(double seconds);  // false when it did not come up within the time
    const std::string& name() const { return displayName; }  // ":N"

    // The mapped top-level window whose WM_NAME is caption; 0 when there is none.
    WindowId findTopLevel(const std::string& caption) const;
    bool windowSize(WindowId window, int& width, int& height) const;  // false when it is gone
    std::string windowName(WindowId window) const;                    // WM_NAME, "" when none
    Image grab(WindowId window) const;  // empty when the window is gone or not viewable
    // The _NET_WM_ICON property: width, height, then ARGB pixels; empty when absent.
    std::vector<unsigned long> iconProperty(WindowId window) const;
    bool sendDeleteRequest(WindowId window) const;  // as a window manager on a close

private:
    ChildProcess server;
    std::string displayName;
    _XDisplay* display = nullptr;
};
