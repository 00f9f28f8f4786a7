#!/usr/bin/env bash
# The Windows game full screen shows the whole picture, fitted to the
# screen and centred on the border, on screens of laptop sizes and on a
# 1080p monitor: 1366x768, a width the game library's windowed driver
# refused before it was patched (the game then ended without a word),
# shows it at 1x; 1280x720 shrinks it to 960x720; 1920x1080 fills the
# height at 1.40625x, and set to whole-number scales shows it at 1x, pixel
# for pixel. Wine's loader reads the game's manifest and its per-monitor
# DPI awareness (Wine never scales a program's picture, so what the
# awareness changes on Windows does not show here).
source "$(dirname "$0")/harness.sh"
TG_SCREEN=1366x768
export WINEDEBUG=-all,err+seh,trace+actctx
tw_setup
"$TG_BUILD_DIR/tools/tumblegrid-scores" draw "$TW_GAME/highscores.dat" "$TG_DIR/table.bmp" || tg_fail "draw failed"

# Starts the game on a new screen of the given size, expects the menu's
# picture as WxH+X+Y with nothing but the border around it, and the
# high-score table whole in it.
expect_picture_at()
{
    tw_new_screen "$1"
    tw_start_game
    tg_sleep 1
    local box
    box=$(tw_picture_box "$(tg_screen_shot "menu-$1")")
    [ "$box" = "$2" ] || tg_fail "on $1 the picture is at $box, not $2"
    tg_key i
    tg_sleep 0.8
    tg_expect_whole_picture "table-$1" "$TG_DIR/table.bmp"
}

# Back to the menu, where Q ends the program.
quit() { tg_key q q; tw_expect_exit 1; }

expect_picture_at 1366x768 1024x768+171+0
quit
grep -q 'got L"dpiAwareness" L"PerMonitorV2, PerMonitor"' "$TG_DIR/game.err" || tg_fail "Wine read no DPI awareness"
expect_picture_at 1280x720 960x720+160+0
quit
expect_picture_at 1920x1080 1440x1080+240+0
quit

printf '[tumblegrid]\r\nscaling = sharp\r\n' >"$TW_GAME/settings.cfg"
TG_SHARP=1
expect_picture_at 1920x1080 1024x768+448+156
tg_expect_eq "$(tg_region_diff "$(tg_shot sharp)" "$TG_DIR/table.bmp" 0 0 1024 768)" 0 "pixels differing from the table at 1x"
quit
tg_pass
