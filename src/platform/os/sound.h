#pragma once
// Sound files played in the background: an MP3 player, and the plain player for every other
// kind (WAV, WMA and the like through the media framework, MIDI through a General MIDI
// synthesiser). Each player plays one file at a time; starting a file ends the one its own
// player is still playing. Every request goes through the backend in place: the desktop's,
// or the recording fake that tests put in place.
//
// The desktop's players play only what was read from a regular file of at most
// kSoundFileLimit bytes, and the file is read on a thread of its own: a named pipe, or a
// path on a hung network mount, can block an open or even a stat, and the window thread
// never waits for either. A request answers at once; the sound starts when the bytes are in,
// unless a later request of the same player started first or a stop came meanwhile.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// Twelve minutes of CD-quality WAV, hours of MP3.
inline constexpr std::int64_t kSoundFileLimit = 128LL << 20;

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // Paths are GB18030. A file that cannot be played (missing, no regular file, beyond the
  // limit, no sound) plays nothing and ends nothing that plays; nothing is reported.
  virtual void PlayMp3(const std::string& path) = 0;
  virtual void PlayOther(const std::string& path) = 0;
  // Ends whatever both players are playing.
  virtual void Stop() = 0;
};

// The desktop's backend over players of bytes: each request reads its file aside (above)
// and hands the bytes to its player on the window thread. The desktop's players are the
// sound module's; tests give it players that record.
class ReadingSoundBackend : public SoundBackend {
 public:
  struct Players {
    std::function<void(const std::string& bytes)> mp3;
    std::function<void(const std::string& bytes, bool midi)> other;
    std::function<void()> stop;
  };
  explicit ReadingSoundBackend(Players players);
  void PlayMp3(const std::string& path) override;
  void PlayOther(const std::string& path) override;
  void Stop() override;

 private:
  struct State;
  // `player`: 0 the MP3 player, 1 the plain one.
  void Request(int player, const std::string& path, std::function<void(const Players&, const std::string&)> play);
  std::shared_ptr<State> state_;
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

// Decodes the whole file as the plain player would, into no device: the bytes read as the
// players read them (here on the calling thread), through the synthesiser for a MIDI file,
// the media framework's decoder for the rest. Answers the milliseconds of sound decoded, or
// -1 when the file could not be read or decoded (within `timeoutMs` of waiting). Needs the
// application object.
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
