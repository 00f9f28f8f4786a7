// dialog.cpp -- the dialog toolkit driven one pass a frame. The library's
// own do_dialog and alert loop inside the toolkit and never let the
// presenter show the canvas, so the game runs its dialogs here with
// init_dialog and update_dialog and presents between the passes.
#include "platform/dialog.h"
#include "platform/pacing.h"
#include "platform/present.h"

int runDialog(DIALOG *dialog, int focus)
{
    int pointerWas = showPointer(1);
    clear_keybuf();
    DIALOG_PLAYER *player = init_dialog(dialog, focus);
    while (update_dialog(player))
        waitFrame();
    int closedBy = shutdown_dialog(player);
    showPointer(pointerWas);
    return closedBy;
}

int popupDialog(DIALOG *dialog, int focus)
{
    BITMAP *under = create_bitmap_ex(32, dialog->w, dialog->h);
    if (under)
        blit(canvas, under, dialog->x, dialog->y, 0, 0, dialog->w, dialog->h);
    int closedBy = runDialog(dialog, focus);
    if (under) {
        blit(under, canvas, 0, 0, dialog->x, dialog->y, dialog->w, dialog->h);
        destroy_bitmap(under);
    }
    return closedBy;
}

// Lays the message box out the way the library's alert does, with one line
// and one button, centred on the canvas.
static void layOutMessageBox(DIALOG *box, const char *text)
{
    int spaceW = text_length(font, " "), lineH = text_height(font);
    int buttonW = text_length(font, "OK") + spaceW * 3;
    int w = MAX(text_length(font, text), buttonW) + spaceW * 4;
    int h = lineH * 8;
    int x = (CANVAS_W - w) / 2, y = (CANVAS_H - h) / 2;
    box[0] = {d_shadow_box_proc, x, y, w, h, gui_fg_color, gui_bg_color, 0, 0, 0, 0, nullptr, nullptr, nullptr};
    box[1] = {d_ctext_proc, x + spaceW, y + lineH, w - spaceW * 2, lineH, gui_fg_color, -1, 0, 0, 0, 0,
              (void *)text, nullptr, nullptr};
    box[2] = {d_button_proc, x + w / 2 - buttonW / 2, y + lineH * 5, buttonW, lineH * 2, gui_fg_color,
              gui_bg_color, 0, D_EXIT, 0, 0, (void *)"OK", nullptr, nullptr};
    box[3] = {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr};
}

void showMessageBox(const char *text)
{
    DIALOG box[4];
    layOutMessageBox(box, text);
    // A button still held from the click that led here must not press OK.
    while (gui_mouse_b())
        waitFrame();
    popupDialog(box, 2);
}
