// platform.cpp -- the operating system's share: a modal error box and a
// sleep. On Windows the box is the system's own; elsewhere it is
// drawn with the game library's dialog toolkit into the canvas. With no
// display open yet (the command-line tool, the tests) the message goes to
// standard error instead.
#include "platform/platform.h"
#include "platform/dialog.h"
#include "platform/present.h"
#include <allegro.h>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <winalleg.h>
#else
#include <unistd.h>
#endif

#ifndef _WIN32
// Dialog procedure that paints the error icon: a red disc with a white cross.
static int errorIconProc(int msg, DIALOG *d, int)
{
    if (msg == MSG_DRAW) {
        int r = d->w / 2;
        int cx = d->x + r, cy = d->y + r;
        circlefill(canvas, cx, cy, r, makecol(200, 30, 30));
        circle(canvas, cx, cy, r, makecol(120, 0, 0));
        int a = r / 2;
        for (int t = -1; t <= 1; t++) {
            line(canvas, cx - a + t, cy - a, cx + a + t, cy + a, makecol(255, 255, 255));
            line(canvas, cx + a + t, cy - a, cx - a + t, cy + a, makecol(255, 255, 255));
        }
    }
    return D_O_K;
}

// The error box laid out around its text and centred on the screen.
static void runErrorDialog(const char *text, const char *title)
{
    int textW = text_length(font, text), titleW = text_length(font, title);
    int lineH = text_height(font);
    int w = MAX(textW + 80, MAX(titleW + 24, 200));
    int h = lineH * 3 + 64;
    int x = (CANVAS_W - w) / 2, y = (CANVAS_H - h) / 2;
    DIALOG box[] = {
        {d_shadow_box_proc, x, y, w, h, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_box_proc, x + 1, y + 1, w - 3, lineH + 8, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_text_proc, x + 8, y + 5, titleW, lineH, 0, 0, 0, 0, 0, 0, (void *)title, nullptr, nullptr},
        {errorIconProc, x + 12, y + lineH + 20, 32, 32, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_text_proc, x + 56, y + lineH + 30, textW, lineH, 0, 0, 0, 0, 0, 0, (void *)text, nullptr, nullptr},
        {d_button_proc, x + (w - 60) / 2, y + h - 28, 60, 20, 0, 0, '\r', D_EXIT, 0, 0, (void *)"OK", nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    set_dialog_color(box, makecol(0, 0, 0), makecol(255, 255, 255));
    box[1].bg = makecol(220, 220, 220);
    runDialog(box, 5);
}
#endif

#ifdef _WIN32
// 1 for a window program, which has no console where standard error shows.
static int isWindowProgram()
{
    const unsigned char *image = reinterpret_cast<const unsigned char *>(GetModuleHandleA(nullptr));
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image);
    const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(image + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}
#endif

void showErrorBox(const char *text, const char *title)
{
#ifdef _WIN32
    // The game's picture as it stands goes behind the box, which belongs to
    // the game's window so that it stays in front of it until answered. The
    // game without a display (it could not be opened) has no console where
    // standard error would show: its box stands alone.
    if (displayTarget) {
        serviceDisplay();
        MessageBoxA(win_get_window(), text, title, MB_OK | MB_ICONERROR);
        return;
    }
    if (isWindowProgram()) {
        MessageBoxA(nullptr, text, title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        return;
    }
    fprintf(stderr, "%s: %s\n", title, text);
#else
    if (!displayTarget) {
        fprintf(stderr, "%s: %s\n", title, text);
        return;
    }
    runErrorDialog(text, title);
#endif
}

void sleepMs(int milliseconds)
{
    if (milliseconds <= 0)
        return;
#ifdef _WIN32
    Sleep(static_cast<DWORD>(milliseconds));
#else
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
#endif
}
