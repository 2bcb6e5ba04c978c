#include "XWindowProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// Windows come and go while the probe looks (SDL makes and drops helper windows as
// a program starts): one that vanished between listing and reading it is not an
// error of the test. Xlib's default handler would end the whole test program.
int ignoreVanishedWindows(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable ||
        error->error_code == BadMatch) {
        return 0;
    }
    std::fprintf(stderr, "XWindowProbe: X error %d (request %d)\n", error->error_code,
                 error->request_code);
    std::abort();
}

} // namespace

XWindowProbe::XWindowProbe() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreVanishedWindows);
}

XWindowProbe::~XWindowProbe() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

unsigned long XWindowProbe::findWindow(const std::string& name) {
    if (display_ == nullptr) {
        return 0;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display_, children[i], &title) != 0 && title != nullptr) {
            if (name == title && XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(title);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

unsigned long XWindowProbe::waitForWindow(const std::string& name, int milliseconds) {
    for (int waited = 0; waited <= milliseconds; waited += 50) {
        if (const unsigned long window = findWindow(name)) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}

std::string XWindowProbe::windowName(unsigned long window) {
    std::string name;
    char* title = nullptr;
    if (display_ != nullptr && XFetchName(display_, window, &title) != 0 && title != nullptr) {
        name = title;
        XFree(title);
    }
    return name;
}

void XWindowProbe::askToClose(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

std::vector<unsigned long> XWindowProbe::property32(unsigned long window, const char* name) {
    std::vector<unsigned long> items;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (display_ != nullptr &&
        XGetWindowProperty(display_, window, atom(name), 0, 1L << 20, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        // Xlib hands 32-bit items over as longs.
        if (format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i) {
                items.push_back(longs[i] & 0xFFFFFFFFul); // sign-extended from 32 bits
            }
        }
        XFree(data);
    }
    return items;
}

unsigned long XWindowProbe::atom(const char* name) {
    return display_ != nullptr ? XInternAtom(display_, name, False) : 0;
}

void XWindowProbe::setResources(const std::string& text) {
    const Window root = DefaultRootWindow(display_);
    const Atom property = XInternAtom(display_, "RESOURCE_MANAGER", False);
    if (text.empty()) {
        XDeleteProperty(display_, root, property);
    } else {
        XChangeProperty(display_, root, property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    }
    XSync(display_, False);
}

float XWindowProbe::screenDpi() {
    const int screen = DefaultScreen(display_);
    return static_cast<float>(DisplayWidth(display_, screen)) * 25.4f /
           static_cast<float>(DisplayWidthMM(display_, screen));
}

std::vector<std::uint32_t> XWindowProbe::capture(unsigned long window, int& width, int& height) {
    std::vector<std::uint32_t> pixels;
    XWindowAttributes attributes{};
    if (display_ == nullptr || XGetWindowAttributes(display_, window, &attributes) == 0) {
        return pixels;
    }
    width = attributes.width;
    height = attributes.height;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long value = XGetPixel(image, x, y);
            // A 24-bit TrueColor visual: red, green and blue masks as in 0x00RRGGBB.
            pixels.push_back(static_cast<std::uint32_t>(value & 0xFFFFFF));
        }
    }
    XDestroyImage(image);
    return pixels;
}
