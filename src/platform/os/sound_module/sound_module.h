#pragma once
// The entry points of the sound module, the shared library that holds the desktop's players.
// It is loaded when the first sound plays: the media framework and the audio libraries it
// brings would otherwise cost every start time and memory. Paths are UTF-8; `midi` is 1 for a
// file the plain player hands to the synthesiser.
extern "C" {

void workmemo_sound_play_mp3(const char* path);
void workmemo_sound_play_other(const char* path, int midi);
void workmemo_sound_stop();
// As platform::os::DecodedSoundMilliseconds.
long long workmemo_sound_decoded_milliseconds(const char* path, int midi, int timeoutMs);

}
