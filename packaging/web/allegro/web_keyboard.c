/* web_keyboard.c -- the keyboard driver for the browser.
 *
 * The page's key events feed the library as they arrive (the driver has
 * no poll method, so the library takes each event at once, and a key
 * pressed and let go within one frame still waits in the key buffer).
 * KeyboardEvent.code, the key's place on the keyboard, gives the
 * scancode; KeyboardEvent.key gives the character. The browser repeats a
 * held key itself. Keys are kept from the browser (no scrolling, no help
 * page on F1), except those held with Ctrl or Meta, F5 and F12, which
 * stay the browser's own. A page losing the focus lets go of every key.
 */
#include <emscripten.h>
#include "web_drivers.h"

/* The keys with names of their own, by KeyboardEvent.code; letters, digits,
 * keypad digits and function keys are worked out from their first scancode. */
static const struct { const char *code; int scancode; } NAMED_KEYS[] = {
   {"Escape", KEY_ESC}, {"Backquote", KEY_TILDE}, {"Minus", KEY_MINUS}, {"Equal", KEY_EQUALS},
   {"Backspace", KEY_BACKSPACE}, {"Tab", KEY_TAB}, {"BracketLeft", KEY_OPENBRACE},
   {"BracketRight", KEY_CLOSEBRACE}, {"Enter", KEY_ENTER}, {"Semicolon", KEY_COLON},
   {"Quote", KEY_QUOTE}, {"Backslash", KEY_BACKSLASH}, {"IntlBackslash", KEY_BACKSLASH2},
   {"Comma", KEY_COMMA}, {"Period", KEY_STOP}, {"Slash", KEY_SLASH}, {"Space", KEY_SPACE},
   {"Insert", KEY_INSERT}, {"Delete", KEY_DEL}, {"Home", KEY_HOME}, {"End", KEY_END},
   {"PageUp", KEY_PGUP}, {"PageDown", KEY_PGDN}, {"ArrowLeft", KEY_LEFT}, {"ArrowRight", KEY_RIGHT},
   {"ArrowUp", KEY_UP}, {"ArrowDown", KEY_DOWN}, {"NumpadDivide", KEY_SLASH_PAD},
   {"NumpadMultiply", KEY_ASTERISK}, {"NumpadSubtract", KEY_MINUS_PAD}, {"NumpadAdd", KEY_PLUS_PAD},
   {"NumpadDecimal", KEY_DEL_PAD}, {"NumpadEnter", KEY_ENTER_PAD}, {"PrintScreen", KEY_PRTSCR},
   {"Pause", KEY_PAUSE}, {"NumpadEqual", KEY_EQUALS_PAD}, {"ShiftLeft", KEY_LSHIFT},
   {"ShiftRight", KEY_RSHIFT}, {"ControlLeft", KEY_LCONTROL}, {"ControlRight", KEY_RCONTROL},
   {"AltLeft", KEY_ALT}, {"AltRight", KEY_ALTGR}, {"MetaLeft", KEY_LWIN}, {"MetaRight", KEY_RWIN},
   {"ContextMenu", KEY_MENU}, {"ScrollLock", KEY_SCRLOCK}, {"NumLock", KEY_NUMLOCK},
   {"CapsLock", KEY_CAPSLOCK},
};

static int installed = 0;          /* the driver is in use */
static int listening = 0;          /* the page's listeners are in place */

/* Called by the page for each key event: the scancode, the character (-1 for none) and the modifiers. */
EMSCRIPTEN_KEEPALIVE void web_key_event(int pressed, int scancode, int character, int shifts)
{
   if (!installed)
      return;
   _key_shifts = shifts;
   if (pressed)
      _handle_key_press(character, scancode);
   else
      _handle_key_release(scancode);
}

/* Listens to the page's keys; the table holds (code pointer, scancode) pairs. */
EM_JS(void, web_keyboard_listen, (const void *table, int count, int keyA, int key0, int key0Pad,
                                  int keyF1, int shiftFlag, int ctrlFlag, int altFlag, int capsFlag), {
   var scancodes = {};
   for (var i = 0; i < count; i++)
      scancodes[UTF8ToString(HEAP32[(table >> 2) + 2 * i])] = HEAP32[(table >> 2) + 2 * i + 1];
   var scancodeOf = function(code) {
      var m;
      if ((m = /^Key([A-Z])$/.exec(code))) return keyA + m[1].charCodeAt(0) - 65;
      if ((m = /^Digit([0-9])$/.exec(code))) return key0 + Number(m[1]);
      if ((m = /^Numpad([0-9])$/.exec(code))) return key0Pad + Number(m[1]);
      if ((m = /^F([1-9]|1[0-2])$/.exec(code))) return keyF1 + Number(m[1]) - 1;
      return scancodes[code] || 0;
   };
   var characterOf = function(e) {
      var special = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27, Delete: 127 };
      if (e.key in special) return special[e.key];
      if (e.key.length !== 1 && !(e.key.length === 2 && e.key.codePointAt(0) > 0xffff)) return 0;
      var c = e.key.codePointAt(0);
      if (e.ctrlKey && /^[a-zA-Z]$/.test(e.key)) return c & 31;
      return c;
   };
   var shiftsOf = function(e) {
      return (e.shiftKey ? shiftFlag : 0) | (e.ctrlKey ? ctrlFlag : 0) | (e.altKey ? altFlag : 0) |
             (e.getModifierState && e.getModifierState('CapsLock') ? capsFlag : 0);
   };
   var held = {};
   var browserKeeps = function(e) {
      return e.ctrlKey || e.metaKey || e.code === 'F5' || e.code === 'F12';
   };
   window.addEventListener('keydown', function(e) {
      var scancode = scancodeOf(e.code);
      if (!browserKeeps(e)) e.preventDefault();
      if (!scancode) return;
      held[scancode] = true;
      _web_key_event(1, scancode, characterOf(e), shiftsOf(e));
   });
   window.addEventListener('keyup', function(e) {
      var scancode = scancodeOf(e.code);
      if (!browserKeeps(e)) e.preventDefault();
      if (!scancode) return;
      delete held[scancode];
      _web_key_event(0, scancode, -1, shiftsOf(e));
   });
   window.addEventListener('blur', function() {
      for (var scancode in held)
         _web_key_event(0, Number(scancode), -1, 0);
      held = {};
   });
});

static int web_key_init(void)
{
   installed = 1;
   if (listening++)
      return 0;
   web_keyboard_listen(NAMED_KEYS, (int)(sizeof NAMED_KEYS / sizeof NAMED_KEYS[0]), KEY_A, KEY_0, KEY_0_PAD,
                       KEY_F1, KB_SHIFT_FLAG, KB_CTRL_FLAG, KB_ALT_FLAG, KB_CAPSLOCK_FLAG);
   return 0;
}

/* The page's listeners stay, and report nothing until the driver is installed again. */
static void web_key_exit(void)
{
   installed = 0;
}

KEYBOARD_DRIVER keyboard_web =
{
   KEYBOARD_WEB,
   empty_string,
   empty_string,
   "Page keyboard",
   FALSE,               /* the browser repeats keys itself */
   web_key_init,
   web_key_exit,
   NULL,                /* no poll: events are taken as they come */
   NULL, NULL,          /* set_leds, set_rate */
   NULL, NULL,          /* wait_for_input, stop_waiting_for_input */
   NULL, NULL           /* scancode_to_ascii, scancode_to_name */
};

_DRIVER_INFO _keyboard_driver_list[] =
{
   { KEYBOARD_WEB, &keyboard_web, TRUE },
   { 0, NULL, 0 }
};
