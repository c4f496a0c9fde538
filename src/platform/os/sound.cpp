#include "platform/os/sound.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "platform/os/midi_render.h"
#include "platform/text/text.h"

namespace platform::os {

namespace {

using detail::MidiRender;
using detail::MidiStream;

QString ToQPath(std::string_view path) { return QString::fromStdString(platform::text::ToUtf8(path)); }

// One media-framework player with its output; made on first use, owned by the application
// object so that it never outlives it.
class MediaPlayer {
 public:
  void Play(const QString& file) {
    if (QCoreApplication::instance() == nullptr) return;
    if (player_.isNull()) {
      player_ = new QMediaPlayer(QCoreApplication::instance());
      player_->setAudioOutput(new QAudioOutput(player_));
    }
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(file));
    player_->play();
  }
  void Stop() {
    if (!player_.isNull()) player_->stop();
  }

 private:
  QPointer<QMediaPlayer> player_;
};

// MIDI rendered by the synthesiser into the desktop's default output.
class MidiPlayer {
 public:
  void Play(const QString& file) {
    Stop();
    if (QCoreApplication::instance() == nullptr) return;
    std::unique_ptr<MidiRender> render = MidiRender::Open(file);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!render || device.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(MidiRender::kSampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = new QAudioSink(device, format, QCoreApplication::instance());
    auto* stream = new MidiStream(std::move(render), sink_);
    stream->open(QIODevice::ReadOnly);
    QAudioSink* sink = sink_;
    // Once the music has run out the sink goes idle; it is let go then.
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink, stream](QAudio::State state) {
      if (state == QAudio::IdleState && stream->atEnd()) {
        sink->stop();
        sink->deleteLater();
      }
    });
    sink->start(stream);
  }
  void Stop() {
    if (sink_.isNull()) return;
    sink_->stop();
    sink_->deleteLater();
    sink_.clear();
  }

 private:
  QPointer<QAudioSink> sink_;
};

class DesktopSoundBackend : public SoundBackend {
 public:
  void PlayMp3(const std::string& path) override { mp3_.Play(ToQPath(path)); }
  void PlayOther(const std::string& path) override {
    other_.Stop();
    midi_.Stop();
    if (IsMidiFile(path)) midi_.Play(ToQPath(path));
    else other_.Play(ToQPath(path));
  }
  void Stop() override {
    mp3_.Stop();
    other_.Stop();
    midi_.Stop();
  }

 private:
  MediaPlayer mp3_;
  MediaPlayer other_;
  MidiPlayer midi_;
};

DesktopSoundBackend g_desktop;
SoundBackend* g_backend = nullptr;

long long DecodedMidiMilliseconds(const QString& file) {
  std::unique_ptr<MidiRender> render = MidiRender::Open(file);
  if (!render) return -1;
  MidiStream stream(std::move(render), nullptr);
  stream.open(QIODevice::ReadOnly);
  // Ten minutes of sound at most: a file is not played for ever.
  constexpr long long kMaxBytes = 600LL * MidiRender::kSampleRate * MidiRender::kBytesPerFrame;
  long long bytes = 0;
  char block[16384];
  while (bytes < kMaxBytes) {
    const qint64 n = stream.read(block, sizeof block);
    if (n <= 0) break;
    bytes += n;
  }
  return bytes * 1000 / (static_cast<long long>(MidiRender::kSampleRate) * MidiRender::kBytesPerFrame);
}

long long DecodedMediaMilliseconds(const QString& file, int timeoutMs) {
  if (QCoreApplication::instance() == nullptr || !QFileInfo(file).isFile()) return -1;
  QAudioDecoder decoder;
  if (!decoder.isSupported()) return -1;
  QEventLoop loop;
  qint64 microseconds = 0;
  bool failed = false;
  QObject::connect(&decoder, &QAudioDecoder::bufferReady, &loop, [&] {
    while (decoder.bufferAvailable()) microseconds += decoder.read().duration();
  });
  QObject::connect(&decoder, &QAudioDecoder::finished, &loop, &QEventLoop::quit);
  QObject::connect(&decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), &loop, [&] {
    failed = true;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, [&] {
    failed = true;
    loop.quit();
  });
  decoder.setSource(QUrl::fromLocalFile(file));
  decoder.start();
  loop.exec();
  decoder.stop();
  return failed ? -1 : microseconds / 1000;
}

}  // namespace

SoundBackend& CurrentSoundBackend() { return g_backend != nullptr ? *g_backend : g_desktop; }
void SetSoundBackend(SoundBackend* backend) { g_backend = backend; }

void PlayMp3File(std::string_view path) { CurrentSoundBackend().PlayMp3(std::string(path)); }
void PlaySoundFile(std::string_view path) { CurrentSoundBackend().PlayOther(std::string(path)); }
void StopSoundPlayback() { CurrentSoundBackend().Stop(); }

bool IsMidiFile(std::string_view path) {
  const QString suffix = QFileInfo(ToQPath(path)).suffix().toLower();
  return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") ||
         suffix == QLatin1String("rmi") || suffix == QLatin1String("kar");
}

long long DecodedSoundMilliseconds(std::string_view path, int timeoutMs) {
  const QString file = ToQPath(path);
  return IsMidiFile(path) ? DecodedMidiMilliseconds(file) : DecodedMediaMilliseconds(file, timeoutMs);
}

}  // namespace platform::os
