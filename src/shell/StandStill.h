#pragma once
// While the controls page is open (F1) the game stands still: nothing of it moves, nothing reads
// the buttons, no random number is drawn, and when the page closes everything goes on from
// where it was. What the menu leaves running runs on: the sound plays, the picture is shown at
// the game's pace, and the volume buttons the page presses for its bar move the master volume
// as the volume keys do.

// One poll's worth of standing still, after that poll (and the sound's update): shows the
// picture as it stands and applies the volume buttons.
void standStill(bool waitForVsync);
