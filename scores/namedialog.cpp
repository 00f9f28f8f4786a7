// namedialog.cpp -- the small modal box that asks a new high scorer for a
// name. It lives in the game binary only, so the tests can type for it.
#include "scores/newscore.h"
#include "platform/dialog.h"
#include <allegro.h>
#include <initializer_list>

enum NameDialogObject { NAME_BOX, NAME_TITLE, NAME_PROMPT, NAME_FIELD, NAME_OK };

// Built once and reused; the edit field works on playerName directly. Enter
// in the field closes the box as the Ok button does, as players expect.
static DIALOG NameEntryDialog[] = {
    {d_shadow_box_proc, 384, 334, 256, 100, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    {d_text_proc, 389, 339, 0, 0, 0, 0, 0, 0, 0, 0,
     (void *)"Congratulations on your High Score!", nullptr, nullptr},
    {d_text_proc, 389, 359, 0, 0, 0, 0, 0, 0, 0, 0, (void *)"Please Enter your name:", nullptr, nullptr},
    {d_edit_proc, 389, 384, 160, 8, 0, 0, 0, D_EXIT, 1024, 0, playerName, nullptr, nullptr},
    {d_button_proc, 492, 404, 40, 20, 0, 0, 'o', D_EXIT, 0, 0, (void *)"&Ok", nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};

// Gives each text its real size in the current font, so the toolkit
// repaints all of it when the pointer passes over it.
static void sizeTexts()
{
    for (int i : {NAME_TITLE, NAME_PROMPT}) {
        NameEntryDialog[i].w = text_length(font, (const char *)NameEntryDialog[i].dp);
        NameEntryDialog[i].h = text_height(font);
    }
    NameEntryDialog[NAME_FIELD].h = text_height(font);
}

// However the box is closed, the name is whatever the field holds then. The
// field has the focus from the start, so every key typed goes into the name.
void askPlayerName()
{
    sizeTexts();
    set_dialog_color(NameEntryDialog, makecol(0, 0, 0), makecol(200, 240, 200));
    runDialog(NameEntryDialog, NAME_FIELD);
}
