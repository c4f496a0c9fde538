#pragma once
// The entry points of the sound module, the shared library that holds the desktop's players.
// It is loaded when the first sound plays: the media framework and the audio libraries it
// brings would otherwise cost every start time and memory. The players take the bytes of a
// sound file that the caller read, never a path: they open no file themselves. The bytes are
// copied before the call returns; `midi` is 1 for a file the plain player hands to the
// synthesiser.
extern "C" {

void workmemo_sound_play_mp3(const char* bytes, long long size);
void workmemo_sound_play_other(const char* bytes, long long size, int midi);
void workmemo_sound_stop();
// As platform::os::DecodedSoundMilliseconds, from the bytes read.
long long workmemo_sound_decoded_milliseconds(const char* bytes, long long size, int midi, int timeoutMs);

}
