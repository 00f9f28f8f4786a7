/* web_sound.c -- the digital sound driver for the browser.
 *
 * The library's own mixer makes the sound; the page plays it through Web
 * Audio. A timer of the page keeps about a tenth of a second of mixed
 * sound queued ahead of the audio clock, in chunks played back to back.
 * Browsers only let a page make sound once the player has pressed a key
 * or clicked, so the audio context starts suspended and is resumed on the
 * first key or click; nothing is mixed until then, so a sound started
 * before is heard from its beginning. Module.webAudio tells how much was
 * mixed and how loud, for the page's own checks.
 */
#include <emscripten.h>
#include <stdlib.h>
#include "web_drivers.h"

#define CHUNK_FRAMES 1024

static short *chunk = NULL;          /* one chunk of mixed stereo sound */

/* Mixes the next chunk; the page calls this while the program sleeps. */
EMSCRIPTEN_KEEPALIVE short *web_sound_mix(void)
{
   if (!chunk)
      return NULL;
   _mix_some_samples((uintptr_t)chunk, 0, TRUE);
   return chunk;
}

/* The sample rate of the page's audio output; 0 when it has none. */
EM_JS(int, web_sound_open, (void), {
   var Context = window.AudioContext || window.webkitAudioContext;
   if (!Context)
      return 0;
   var context = Module['webAudio'] ? Module['webAudio'].context : new Context();
   Module['webAudio'] = { context: context, chunks: 0, loudest: 0, pump: 0 };
   if (!Module['webAudioResume']) {
      Module['webAudioResume'] = function() {
         if (context.state === 'suspended')
            context.resume().catch(function() {});
      };
      ['keydown', 'mousedown', 'touchstart'].forEach(function(type) {
         window.addEventListener(type, Module['webAudioResume'], true);
      });
   }
   return context.sampleRate;
});

/* Keeps the queue of chunks filled while the audio context runs. */
EM_JS(void, web_sound_start, (int frames), {
   var audio = Module['webAudio'];
   var context = audio.context;
   var LEAD = 0.12;
   var next = 0;
   audio.pump = setInterval(function() {
      if (context.state !== 'running')
         return;
      if (next < context.currentTime)
         next = context.currentTime + 0.02;
      while (next < context.currentTime + LEAD) {
         var at = _web_sound_mix();
         if (!at)
            return;
         var buffer = context.createBuffer(2, frames, context.sampleRate);
         var left = buffer.getChannelData(0), right = buffer.getChannelData(1);
         var loudest = audio.loudest;
         for (var i = 0; i < frames; i++) {
            var l = HEAP16[(at >> 1) + 2 * i], r = HEAP16[(at >> 1) + 2 * i + 1];
            left[i] = l / 32768;
            right[i] = r / 32768;
            loudest = Math.max(loudest, Math.abs(l), Math.abs(r));
         }
         audio.loudest = loudest;
         var source = context.createBufferSource();
         source.buffer = buffer;
         source.connect(context.destination);
         source.start(next);
         next += frames / context.sampleRate;
         audio.chunks++;
      }
   }, 20);
});

EM_JS(void, web_sound_stop, (void), {
   if (Module['webAudio'])
      clearInterval(Module['webAudio'].pump);
});

static int web_digi_detect(int input)
{
   return !input && web_sound_open() > 0;
}

static int web_digi_init(int input, int voices)
{
   int rate;
   if (input)
      return -1;
   rate = web_sound_open();
   if (rate <= 0)
      return -1;
   chunk = calloc(CHUNK_FRAMES * 2, sizeof *chunk);
   if (!chunk)
      return -1;
   _sound_freq = rate;
   _sound_bits = 16;
   _sound_stereo = TRUE;
   digi_web.voices = voices;
   if (_mixer_init(CHUNK_FRAMES * 2, rate, TRUE, TRUE, &digi_web.voices) != 0) {
      free(chunk);
      chunk = NULL;
      return -1;
   }
   web_sound_start(CHUNK_FRAMES);
   return 0;
}

static void web_digi_exit(int input)
{
   if (input)
      return;
   web_sound_stop();
   _mixer_exit();
   free(chunk);
   chunk = NULL;
}

static int web_digi_buffer_size(void)
{
   return CHUNK_FRAMES;
}

DIGI_DRIVER digi_web =
{
   DIGI_WEB,
   empty_string,
   empty_string,
   "Web Audio",
   0,
   0,
   MIXER_MAX_SFX,
   MIXER_DEF_SFX,

   web_digi_detect,
   web_digi_init,
   web_digi_exit,
   NULL,                      /* set_mixer_volume */
   NULL,                      /* get_mixer_volume */

   NULL,
   NULL,
   web_digi_buffer_size,
   _mixer_init_voice,
   _mixer_release_voice,
   _mixer_start_voice,
   _mixer_stop_voice,
   _mixer_loop_voice,

   _mixer_get_position,
   _mixer_set_position,

   _mixer_get_volume,
   _mixer_set_volume,
   _mixer_ramp_volume,
   _mixer_stop_volume_ramp,

   _mixer_get_frequency,
   _mixer_set_frequency,
   _mixer_sweep_frequency,
   _mixer_stop_frequency_sweep,

   _mixer_get_pan,
   _mixer_set_pan,
   _mixer_sweep_pan,
   _mixer_stop_pan_sweep,

   _mixer_set_echo,
   _mixer_set_tremolo,
   _mixer_set_vibrato,
   0, 0,
   NULL, NULL, NULL, NULL, NULL, NULL   /* no recording */
};

BEGIN_DIGI_DRIVER_LIST
   { DIGI_WEB, &digi_web, TRUE },
END_DIGI_DRIVER_LIST

BEGIN_MIDI_DRIVER_LIST
END_MIDI_DRIVER_LIST
