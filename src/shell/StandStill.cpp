#include "shell/StandStill.h"

#include "platform/Input.h"
#include "render/Screen.h"
#include "sound/SoundManager.h"

void standStill(bool waitForVsync) {
    CScreen::instance().present(waitForVsync);
    const CInput& input = CInput::instance();
    CSoundManager& sound = CSoundManager::instance();
    if (input.volumeDownKey) sound.volumeDown();
    if (input.volumeUpKey) sound.volumeUp();
}
