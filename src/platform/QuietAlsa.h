// ALSA's own complaints on stderr (eight lines of "ALSA lib ... cannot find
// card" on a machine with no sound card) silenced: the game tells of a
// missing sound device on one line of its own.
#pragma once

// Hands ALSA an error handler that drops its messages, if the ALSA library is
// on the machine (looked up at run time; without it there is nothing to
// silence). Before the sound device is opened; the library is kept loaded
// from then on, so the handler stays its own.
void QuietAlsa();
