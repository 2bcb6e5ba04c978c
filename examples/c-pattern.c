/* The pattern example in C: an animated pattern in a 320 x 240 window, the two
 * colour ramps as its icon. The mouse pointer lights up a spot (a bigger one
 * while the left button is held), Space swaps the ramps, Escape or the close box
 * ends it with status 0. */
#include <duskhall/duskhall_c.h>

#include <stdio.h>
#include <stdlib.h>

enum { WIDTH = 320, HEIGHT = 240 };

/* Input arrives inside dh_show_frame; the callbacks only record it for the next frame. */
typedef struct PatternInput {
    int swapped;
    int mouseSeen;
    dh_mouse mouse;
} PatternInput;

static void keyDown(dh_screen* screen, int32_t key, void* user) {
    PatternInput* input = (PatternInput*)user;
    (void)screen;
    if (key == DH_KEY_SPACE) {
        input->swapped = !input->swapped;
    }
}

static void mouseEvent(dh_screen* screen, const dh_mouse* mouse, void* user) {
    PatternInput* input = (PatternInput*)user;
    (void)screen;
    input->mouse = *mouse;
    input->mouseSeen = 1;
}

/* Green and blue ramp across and down (swapped by Space); red moves with the frame count. */
static void drawFrame(uint32_t* pixels, uint32_t frame, const PatternInput* input) {
    const float radius = input->mouse.left ? 24.0f : 12.0f;
    int x, y;
    for (y = 0; y < HEIGHT; ++y) {
        for (x = 0; x < WIDTH; ++x) {
            const float dx = (float)x - input->mouse.x;
            const float dy = (float)y - input->mouse.y;
            const uint32_t across = (uint32_t)(x * 255 / (WIDTH - 1));
            const uint32_t down = (uint32_t)(y * 255 / (HEIGHT - 1));
            const uint32_t red = ((uint32_t)(x ^ y) + frame) & 0xFF;
            const uint32_t green = input->swapped ? down : across;
            const uint32_t blue = input->swapped ? across : down;
            const int lit = input->mouseSeen && dx * dx + dy * dy <= radius * radius;
            pixels[y * WIDTH + x] = lit ? 0xFFFFFFFFu : 0xFF000000u | red << 16 | green << 8 | blue;
        }
    }
}

/* The window's icon: the two ramps in 16 x 16 pixels, opaque. */
static void setIcon(dh_screen* screen) {
    uint32_t icon[16 * 16];
    int x, y;
    for (y = 0; y < 16; ++y) {
        for (x = 0; x < 16; ++x) {
            icon[y * 16 + x] = 0xFF000000u | (uint32_t)(x * 17) << 8 | (uint32_t)(y * 17);
        }
    }
    if (!dh_set_icon(screen, icon, 16, 16)) {
        fprintf(stderr, "c-pattern: no icon: %s\n", dh_error());
    }
}

/* Each open gives the window its icon: settings of an open window go in here. */
static void opened(dh_screen* screen, void* user) {
    (void)user;
    setIcon(screen);
}

int main(void) {
    PatternInput input = {0, 0, {0, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f}};
    uint32_t* pixels = malloc(sizeof(uint32_t) * WIDTH * HEIGHT);
    uint32_t frame = 0;
    /* Callbacks go in before the open, so they see every event. */
    dh_screen* screen = dh_create();
    if (pixels == NULL || screen == NULL) {
        fprintf(stderr, "c-pattern: no screen: %s\n", dh_error());
        return 1;
    }
    dh_set_key_down_callback(screen, keyDown, &input);
    dh_set_pointer_moved_callback(screen, mouseEvent, &input);
    dh_set_button_down_callback(screen, mouseEvent, &input);
    dh_set_button_up_callback(screen, mouseEvent, &input);
    dh_set_opened_callback(screen, opened, NULL);
    if (!dh_open_screen(screen, "duskhall pattern", WIDTH, HEIGHT, DH_MODE_WINDOWED,
                        DH_PIXEL_INTEGER)) {
        fprintf(stderr, "c-pattern: cannot open a window: %s\n", dh_error());
        dh_close(screen);
        return 1;
    }
    dh_set_frame_rate(screen, 60);

    drawFrame(pixels, frame, &input);
    /* 0 once the screen has closed (Escape, the close box). */
    while (dh_show_frame(screen, pixels)) {
        drawFrame(pixels, ++frame, &input);
    }
    dh_close(screen);
    free(pixels);
    return 0;
}
