/* A stand-in libXinerama.so.1 for the scenarios on several monitors. Xvfb has
 * one screen; Wine's X11 driver, started with LD_LIBRARY_PATH on this
 * library's folder and with UseXRandR = N, takes the heads reported here as
 * its monitors. The heads come from VELTRANO_HEADS, "WxH+X+Y" separated by
 * commas, for example "1920x1080+0+0,1280x1024+1920+0"; without it no head is
 * reported and Wine sees the one screen. A Linux library, not a Windows one. */
/* No header is included, Xlib's nor the C library's: the 32-bit build's copy
 * is compiled where only the 64-bit headers are installed, and its calls to
 * the C library are bound when Wine's 32-bit process loads it. */
typedef int Bool;
typedef int Status;
typedef struct _XDisplay Display;
typedef __SIZE_TYPE__ size_t;
enum { False = 0, True = 1 };
char* getenv(const char* name);
int sscanf(const char* text, const char* format, ...);
void* calloc(size_t count, size_t size);
void* memcpy(void* to, const void* from, size_t count);
#define NULL ((void*)0)

typedef struct {
    int screen_number;
    short x_org;
    short y_org;
    short width;
    short height;
} XineramaScreenInfo;

enum { kMostHeads = 16 };

/* Returns the number of heads VELTRANO_HEADS lists (at most `most`) into `heads`. */
static int ReadHeads(XineramaScreenInfo* heads, int most) {
    const char* text = getenv("VELTRANO_HEADS");
    int count = 0;
    while (text && *text && count < most) {
        int width, height, x, y, used = 0;
        if (sscanf(text, "%dx%d+%d+%d%n", &width, &height, &x, &y, &used) != 4) return 0;
        heads[count].screen_number = count;
        heads[count].x_org = (short)x;
        heads[count].y_org = (short)y;
        heads[count].width = (short)width;
        heads[count].height = (short)height;
        ++count;
        text += used;
        if (*text == ',') ++text;
        else if (*text) return 0;
    }
    return count;
}

Bool XineramaQueryExtension(Display* display, int* eventBase, int* errorBase) {
    (void)display;
    *eventBase = 0;
    *errorBase = 0;
    return True;
}

Status XineramaQueryVersion(Display* display, int* major, int* minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display* display) {
    XineramaScreenInfo heads[kMostHeads];
    (void)display;
    return ReadHeads(heads, kMostHeads) > 0;
}

/* The caller frees the heads with XFree, which is free. */
XineramaScreenInfo* XineramaQueryScreens(Display* display, int* number) {
    XineramaScreenInfo heads[kMostHeads];
    XineramaScreenInfo* copy;
    (void)display;
    *number = ReadHeads(heads, kMostHeads);
    if (*number == 0) return NULL;
    copy = calloc((size_t)*number, sizeof *copy);
    if (!copy) {
        *number = 0;
        return NULL;
    }
    memcpy(copy, heads, (size_t)*number * sizeof *copy);
    return copy;
}
