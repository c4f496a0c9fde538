#pragma once
// A MIDI file rendered to 16-bit stereo sound by FluidSynth with a General MIDI sound font,
// a block at a time, and the same rendering as a sequential device the audio sink pulls from.
#include <QByteArray>
#include <QIODevice>

#include <memory>

namespace platform::os::detail {

class MidiRender {
 public:
  static constexpr int kSampleRate = 44100;
  static constexpr int kBytesPerFrame = 4;  // two 16-bit channels

  // The bytes of a MIDI file ready to render, or null when they are no MIDI file or no sound
  // font is installed. The bytes are copied.
  static std::unique_ptr<MidiRender> Open(const QByteArray& bytes);
  ~MidiRender();
  MidiRender(const MidiRender&) = delete;
  MidiRender& operator=(const MidiRender&) = delete;

  // Writes up to `frames` frames into `out`; answers the frames written, 0 once the file has
  // played to its end.
  int Render(char* out, int frames);

 private:
  MidiRender() = default;
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// The rendering as a read-only sequential device: reads render on demand and end with the file.
class MidiStream : public QIODevice {
 public:
  MidiStream(std::unique_ptr<MidiRender> render, QObject* parent);
  bool isSequential() const override { return true; }
  bool atEnd() const override { return ended_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::unique_ptr<MidiRender> render_;
  bool ended_ = false;
};

}  // namespace platform::os::detail
