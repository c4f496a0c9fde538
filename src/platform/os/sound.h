#pragma once
// Sound files played in the background: an MP3 player, and the plain player for every other
// kind (WAV, WMA and the like through the media framework, MIDI through a General MIDI
// synthesiser). Each player plays one file at a time; starting a file ends the one its own
// player is still playing. Every request goes through the backend in place: the desktop's,
// or the recording fake that tests put in place.
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // Paths are GB18030. A file that cannot be played plays nothing; nothing is reported.
  virtual void PlayMp3(const std::string& path) = 0;
  virtual void PlayOther(const std::string& path) = 0;
  // Ends whatever both players are playing.
  virtual void Stop() = 0;
};

// The backend in use: the desktop's, unless a test set another.
SoundBackend& CurrentSoundBackend();
// Puts `backend` in place (nullptr restores the desktop's); the caller keeps it alive.
void SetSoundBackend(SoundBackend* backend);

// The program's three sound routines, on the backend in use.
void PlayMp3File(std::string_view path);
void PlaySoundFile(std::string_view path);
void StopSoundPlayback();

// True when the plain player hands the file to the MIDI synthesiser (".mid", ".midi",
// ".rmi" or ".kar" in any case).
bool IsMidiFile(std::string_view path);

// Decodes the whole file as the plain player would, into no device: the synthesiser for a
// MIDI file, the media framework's decoder for the rest. Answers the milliseconds of sound
// decoded, or -1 when the file could not be decoded (within `timeoutMs` of waiting). Needs
// the application object.
long long DecodedSoundMilliseconds(std::string_view path, int timeoutMs = 10000);

// A fake that records every request.
class RecordingSoundBackend : public SoundBackend {
 public:
  enum class Player { Mp3, Other, Stop };
  struct Call {
    Player player;
    std::string path;  // empty for Stop
    bool operator==(const Call&) const = default;
  };
  void PlayMp3(const std::string& path) override { calls.push_back({Player::Mp3, path}); }
  void PlayOther(const std::string& path) override { calls.push_back({Player::Other, path}); }
  void Stop() override { calls.push_back({Player::Stop, {}}); }
  std::vector<Call> calls;
};

}  // namespace platform::os
