#include "platform/os/sound_module/sound_module.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "platform/os/sound_module/midi_render.h"

namespace platform::os {

namespace {

using detail::MidiRender;
using detail::MidiStream;

// The bytes of a sound file as a device a player or decoder reads from.
QBuffer* SoundDevice(const char* bytes, long long size, QObject* parent) {
  auto* device = new QBuffer(parent);
  device->setData(bytes, static_cast<qsizetype>(size));
  device->open(QIODevice::ReadOnly);
  return device;
}

// One media-framework player with its output; made on first use, owned by the application
// object so that it never outlives it. It holds the bytes it plays until they have played
// to their end, or the next file or a stop comes.
class MediaPlayer {
 public:
  void Play(const char* bytes, long long size) {
    // Without an output the framework's render thread writes to a sink it never opened.
    if (QCoreApplication::instance() == nullptr || QMediaDevices::defaultAudioOutput().isNull()) return;
    if (player_.isNull()) {
      player_ = new QMediaPlayer(QCoreApplication::instance());
      player_->setAudioOutput(new QAudioOutput(player_));
      QObject::connect(player_, &QMediaPlayer::mediaStatusChanged, player_, [this](QMediaPlayer::MediaStatus status) {
        if (status != QMediaPlayer::EndOfMedia) return;
        // Not inside the player's own signal: letting the source go deletes its decoder.
        QMetaObject::invokeMethod(player_, [this, ended = device_] {
          if (device_ == ended) Release();
        }, Qt::QueuedConnection);
      });
    }
    player_->stop();
    QPointer<QBuffer> previous = device_;
    device_ = SoundDevice(bytes, size, player_);
    player_->setSourceDevice(device_);
    delete previous;
    player_->play();
  }
  void Stop() {
    if (player_.isNull()) return;
    player_->stop();
    Release();
  }

 private:
  void Release() {
    player_->setSource(QUrl());
    delete device_;
  }

  QPointer<QMediaPlayer> player_;
  QPointer<QBuffer> device_;
};

// MIDI rendered by the synthesiser into the desktop's default output.
class MidiPlayer {
 public:
  void Play(const QByteArray& bytes) {
    Stop();
    if (QCoreApplication::instance() == nullptr) return;
    std::unique_ptr<MidiRender> render = MidiRender::Open(bytes);
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

long long DecodedMidiMilliseconds(const QByteArray& file) {
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

long long DecodedMediaMilliseconds(const char* bytes, long long size, int timeoutMs) {
  if (QCoreApplication::instance() == nullptr) return -1;
  const std::unique_ptr<QBuffer> device(SoundDevice(bytes, size, nullptr));
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
  decoder.setSourceDevice(device.get());
  decoder.start();
  loop.exec();
  decoder.stop();
  return failed ? -1 : microseconds / 1000;
}

// The MP3 player and the plain player; each plays one file at a time.
MediaPlayer g_mp3;
MediaPlayer g_other;
MidiPlayer g_midi;

}  // namespace

}  // namespace platform::os

extern "C" {

__attribute__((visibility("default"))) void workmemo_sound_play_mp3(const char* bytes, long long size) {
  platform::os::g_mp3.Play(bytes, size);
}

__attribute__((visibility("default"))) void workmemo_sound_play_other(const char* bytes, long long size, int midi) {
  platform::os::g_other.Stop();
  platform::os::g_midi.Stop();
  if (midi == 1) platform::os::g_midi.Play(QByteArray(bytes, static_cast<qsizetype>(size)));
  else platform::os::g_other.Play(bytes, size);
}

__attribute__((visibility("default"))) void workmemo_sound_stop() {
  platform::os::g_mp3.Stop();
  platform::os::g_other.Stop();
  platform::os::g_midi.Stop();
}

__attribute__((visibility("default"))) long long workmemo_sound_decoded_milliseconds(const char* bytes,
                                                                                   long long size, int midi,
                                                                                   int timeoutMs) {
  return midi == 1 ? platform::os::DecodedMidiMilliseconds(QByteArray(bytes, static_cast<qsizetype>(size)))
                   : platform::os::DecodedMediaMilliseconds(bytes, size, timeoutMs);
}

}
