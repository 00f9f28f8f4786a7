#!/usr/bin/env bash
# The Windows game full screen on screens of laptop sizes shows the whole
# menu, the canvas centred on the border: 1366x768 is a width the game
# library's windowed driver refused before it was patched, and the game
# then ended without a word. Wine's loader reads the game's manifest and
# its per-monitor DPI awareness (Wine never scales a program's picture, so
# what the awareness changes on Windows does not show here).
source "$(dirname "$0")/harness.sh"
TG_SCREEN=1366x768
export WINEDEBUG=-all,err+seh,trace+actctx
tw_setup

# Starts the game on the current screen, expects the picture as WxH+X+Y and
# a menu in it, and quits.
expect_menu_at()
{
    tw_start_game
    tg_sleep 1
    local shot box
    shot=$(tg_screen_shot "menu-$TG_SCREEN")
    box=$(tw_picture_box "$shot")
    [ "$box" = "$1" ] || tg_fail "on $TG_SCREEN the picture is at $box, not $1"
    [ "$(tg_region_colours "$(tg_shot "canvas-$TG_SCREEN")" 380 100 270 560)" -gt 20 ] \
        || tg_fail "on $TG_SCREEN the menu column looks empty"
    tg_key q
    tw_expect_exit 1
}

expect_menu_at 1024x768+171+0
grep -q 'got L"dpiAwareness" L"PerMonitorV2, PerMonitor"' "$TG_DIR/game.err" || tg_fail "Wine read no DPI awareness"
tg_pass
