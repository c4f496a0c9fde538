// The sound layer's players: which player a file goes to, how the desktop's backend hands a
// file's bytes to its players, and the real decoders proven on small generated files decoded
// into no device (nothing is played).
#include "platform/os/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/files.h"
#include "platform/ui/app.h"
#include "test_support.h"

namespace platform::os {
namespace {

// No sound server answers this program: whatever a test hands the desktop's players reaches
// no device, on any machine.
const bool kNoSoundServer = ::setenv("PULSE_SERVER", "unix:/nonexistent", 1) == 0;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void PutBe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Half a second of a 440 Hz tone, 8 kHz mono 16-bit PCM.
std::string ToneWav() {
  constexpr int kRate = 8000, kFrames = 4000;
  std::string data;
  for (int i = 0; i < kFrames; ++i)
    PutLe(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / kRate))), 2);
  std::string wav = "RIFF";
  PutLe(wav, 36 + static_cast<std::uint32_t>(data.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);  // PCM
  PutLe(wav, 1, 2);  // mono
  PutLe(wav, kRate, 4);
  PutLe(wav, kRate * 2, 4);
  PutLe(wav, 2, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, static_cast<std::uint32_t>(data.size()), 4);
  return wav + data;
}

// Two notes of half a second each at 120 beats a minute: one second of music.
std::string TwoNoteMidi() {
  std::string track;
  auto event = [&track](int delta, std::string bytes) {
    track.push_back(static_cast<char>(delta >= 128 ? 0x80 | (delta >> 7) : delta));
    if (delta >= 128) track.push_back(static_cast<char>(delta & 0x7F));
    track += bytes;
  };
  event(0, std::string("\xC0\x00", 2));  // piano
  event(0, "\x90\x3C\x64");
  event(480, std::string("\x80\x3C\x00", 3));
  event(0, "\x90\x40\x64");
  event(480, std::string("\x80\x40\x00", 3));
  event(0, std::string("\xFF\x2F\x00", 3));
  std::string midi = "MThd";
  PutBe(midi, 6, 4);
  PutBe(midi, 0, 2);    // one track
  PutBe(midi, 1, 2);
  PutBe(midi, 480, 2);  // ticks a quarter note
  midi += "MTrk";
  PutBe(midi, static_cast<std::uint32_t>(track.size()), 4);
  return midi + track;
}

TEST(SoundTest, MidiFilesGoToTheSynthesiserWhateverTheirCase) {
  for (const char* path : {"a.mid", "B.MID", "c.Midi", "d.rmi", "e.KAR"}) EXPECT_TRUE(IsMidiFile(path)) << path;
  for (const char* path : {"a.wav", "a.mp3", "a.wma", "mid", "a.mid.wav", ""}) EXPECT_FALSE(IsMidiFile(path)) << path;
}

TEST(SoundTest, TheRealDecodersDecodeAWavAndAMidiFileIntoNoDevice) {
  testsupport::TempDir dir;
  ASSERT_TRUE(platform::files::WriteAll(dir.File("tone.wav"), ToneWav()));
  ASSERT_TRUE(platform::files::WriteAll(dir.File("tune.mid"), TwoNoteMidi()));
  const long long wav = DecodedSoundMilliseconds(dir.File("tone.wav"));
  EXPECT_NEAR(wav, 500, 30);
  const long long midi = DecodedSoundMilliseconds(dir.File("tune.mid"));
  // The second of music, then the release of the last note.
  EXPECT_GE(midi, 1000);
  EXPECT_LT(midi, 6000);
  // A file that is no sound, or none at all, decodes to nothing.
  ASSERT_TRUE(platform::files::WriteAll(dir.File("text.wav"), "not a sound"));
  EXPECT_EQ(DecodedSoundMilliseconds(dir.File("text.wav"), 2000), -1);
  EXPECT_EQ(DecodedSoundMilliseconds(dir.File("missing.mid")), -1);
  EXPECT_EQ(DecodedSoundMilliseconds(dir.File("missing.wav")), -1);
}

// Without an audio output a file plays nothing, and the program goes on running.
TEST(SoundTest, WithoutAnAudioOutputPlayingAFileLeavesTheProgramRunning) {
  ASSERT_TRUE(kNoSoundServer);
  testsupport::TempDir dir;
  ASSERT_TRUE(platform::files::WriteAll(dir.File("tone.wav"), ToneWav()));
  PlayMp3File(dir.File("tone.wav"));
  PlaySoundFile(dir.File("tone.wav"));
  platform::ui::ProcessEvents(1500);
  StopSoundPlayback();
}

// A sound is read only from a regular file within the limit, as a picture is: a named pipe
// would wait for a writer, and a huge file would fill memory.
TEST(SoundTest, OnlyRegularFilesWithinTheLimitAreDecoded) {
  testsupport::TempDir dir;
  testsupport::PipeWatch pipes({dir.File("pipe.wav"), dir.File("pipe.mid")});
  // A playable tune, followed by nothing up to beyond the limit.
  const std::string huge = dir.File("huge.mid");
  ASSERT_TRUE(platform::files::WriteAll(huge, TwoNoteMidi()));
  std::filesystem::resize_file(huge, kSoundFileLimit + 1);
  const std::string folder = dir.File("folder.mid");
  ASSERT_TRUE(platform::files::MakeDirs(folder));
  for (const std::string& path : {dir.File("pipe.wav"), dir.File("pipe.mid"), huge, folder})
    EXPECT_EQ(DecodedSoundMilliseconds(path, 2000), -1) << path;
  EXPECT_FALSE(pipes.Finish()) << "a decoder waited on a pipe";
}

// The desktop's backend with players that record what they are handed.
class ReadingBackendTest : public ::testing::Test {
 protected:
  ReadingBackendTest()
      : backend({[this](const std::string& bytes) { played.push_back("mp3:" + bytes); },
                 [this](const std::string& bytes, bool midi) { played.push_back((midi ? "midi:" : "other:") + bytes); },
                 [this] { played.push_back("stop"); }}) {}
  // Runs the window thread's events until `count` things were handed over, or a while.
  void WaitFor(std::size_t count) {
    for (int i = 0; i < 300 && played.size() < count; ++i) platform::ui::ProcessEvents(10);
  }
  std::string Make(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(platform::files::WriteAll(dir.File(name), bytes));
    return dir.File(name);
  }

  testsupport::TempDir dir;
  std::vector<std::string> played;
  ReadingSoundBackend backend;
};

TEST_F(ReadingBackendTest, AFileIsReadAfterTheRequestAndItsBytesGoToItsPlayer) {
  backend.PlayMp3(Make("a.mp3", "mp3 bytes"));
  EXPECT_TRUE(played.empty());  // the request does not wait for the file
  WaitFor(1);
  backend.PlayOther(Make("b.wav", "wav bytes"));
  WaitFor(2);
  backend.PlayOther(Make("c.MID", "midi bytes"));
  WaitFor(3);
  EXPECT_EQ(played, (std::vector<std::string>{"mp3:mp3 bytes", "other:wav bytes", "midi:midi bytes"}));
}

TEST_F(ReadingBackendTest, NothingPlaysFromWhatIsNoFileWithinTheLimitNorWhatAStopCameAfter) {
  testsupport::PipeWatch pipes({dir.File("pipe.mp3")});
  const std::string huge = Make("huge.wav", "wav bytes");
  std::filesystem::resize_file(huge, kSoundFileLimit + 1);
  backend.PlayMp3(dir.File("pipe.mp3"));
  backend.PlayOther(huge);
  backend.PlayOther(dir.path());
  backend.PlayOther(dir.File("missing.wav"));
  // Asked for before the stop, read after it: the alarm the user stopped stays silent.
  backend.PlayMp3(Make("a.mp3", "mp3 bytes"));
  backend.PlayOther(Make("b.wav", "wav bytes"));
  backend.Stop();
  backend.PlayOther(Make("c.wav", "after the stop"));
  WaitFor(2);
  platform::ui::ProcessEvents(100);  // and whatever came late
  EXPECT_EQ(played, (std::vector<std::string>{"stop", "other:after the stop"}));
  EXPECT_FALSE(pipes.Finish());
}

}  // namespace
}  // namespace platform::os
