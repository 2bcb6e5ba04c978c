/* Opens a screen on the display SDL_VIDEODRIVER names (Wayland in the library
 * stage, under a headless Weston), shows frames of one colour until the file
 * named by the first argument exists (the caller has taken its screenshot), then
 * asks the window to close the way SDL reports a compositor's close: a close
 * event for the window. Prints the video driver SDL used, then the frames shown
 * and the closing callbacks heard; status 0 when the close ended the loop. */
#include <duskhall/duskhall_c.h>

#include <SDL.h>

#include <stdio.h>

enum { WIDTH = 320, HEIGHT = 240, COLOUR = 0x3366CC, MOST_FRAMES = 60 * 30 };

static int closings = 0;

static int closing(dh_screen* screen, void* user) {
    (void)screen;
    (void)user;
    ++closings;
    return 1;
}

static int fileExists(const char* path) {
    FILE* file = fopen(path, "r");
    if (file == NULL) {
        return 0;
    }
    fclose(file);
    return 1;
}

/* The screen's window is the one SDL shows. */
static int askToClose(void) {
    Uint32 id;
    for (id = 1; id < 64; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != NULL && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0) {
            SDL_Event event;
            SDL_zero(event);
            event.type = SDL_WINDOWEVENT;
            event.window.windowID = id;
            event.window.event = SDL_WINDOWEVENT_CLOSE;
            return SDL_PushEvent(&event) == 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    static uint32_t pixels[WIDTH * HEIGHT];
    const char* screenshotTaken = argc > 1 ? argv[1] : "";
    dh_screen* screen = dh_create();
    int frames = 0;
    int asked = 0;
    int i;
    for (i = 0; i < WIDTH * HEIGHT; ++i) {
        pixels[i] = 0xFF000000u | COLOUR;
    }
    if (screen == NULL) {
        fprintf(stderr, "wayland-screen: no screen: %s\n", dh_error());
        return 1;
    }
    dh_set_closing_callback(screen, closing, NULL);
    if (!dh_open_screen(screen, "duskhall wayland", WIDTH, HEIGHT, DH_MODE_WINDOWED,
                        DH_PIXEL_INTEGER)) {
        fprintf(stderr, "wayland-screen: cannot open a window: %s\n", dh_error());
        dh_close(screen);
        return 1;
    }
    printf("video driver: %s\n", SDL_GetCurrentVideoDriver());
    fflush(stdout);
    dh_set_frame_rate(screen, 60);
    while (dh_show_frame(screen, pixels)) {
        if (++frames == 30) {
            printf("showing frames\n");
            fflush(stdout);
        }
        if (!asked && frames >= 30 && fileExists(screenshotTaken)) {
            asked = askToClose();
        }
        if (frames > MOST_FRAMES) {
            fprintf(stderr, "wayland-screen: still open after %d frames\n", frames);
            break;
        }
    }
    printf("frames shown: %d\nclosing callbacks: %d\n", frames, closings);
    dh_close(screen);
    return asked && closings == 1 && frames <= MOST_FRAMES ? 0 : 1;
}
