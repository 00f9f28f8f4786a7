// fuzz_settings.cpp -- any bytes as settings.cfg: reading them must end (the
// library's UTF-8 routines loop for ever on some damaged bytes, so they may
// never see those) and leave every setting inside its range.
#include "app/mainloop.h"
#include "app/settings.h"
#include "game/well.h"
#include "platform/present.h"
#include "support/headless.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startHeadlessAllegro();
    readSettingsText(data, size);
    if (difficulty < EASY || difficulty > BLITZ || (musicOn | soundEffectsOn | fullScreen | sharpScaling) > 1 ||
        musicOn < 0 || soundEffectsOn < 0 || fullScreen < 0 || sharpScaling < 0)
        abort();
    return 0;
}
