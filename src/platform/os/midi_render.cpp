#include "platform/os/midi_render.h"

#include <fluidsynth.h>

#include <QFile>

namespace platform::os::detail {

namespace {

// Debian's General MIDI sound fonts, the one the system chose as default first.
constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// A file that fails to play is silent, as a sound file is everywhere else in the program.
void SilenceLog() {
  static const bool silenced = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)silenced;
}

}  // namespace

struct MidiRender::Parts {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  ~Parts() {
    if (player != nullptr) {
      fluid_player_stop(player);
      delete_fluid_player(player);
    }
    if (synth != nullptr) delete_fluid_synth(synth);
    if (settings != nullptr) delete_fluid_settings(settings);
  }
};

std::unique_ptr<MidiRender> MidiRender::Open(const QString& file) {
  SilenceLog();
  const QByteArray path = QFile::encodeName(file);
  if (fluid_is_midifile(path.constData()) == 0) return nullptr;
  auto parts = std::make_unique<Parts>();
  parts->settings = new_fluid_settings();
  if (parts->settings == nullptr) return nullptr;
  fluid_settings_setnum(parts->settings, "synth.sample-rate", kSampleRate);
  // The player follows the sound rendered, not the wall clock: reads drive the music.
  fluid_settings_setstr(parts->settings, "player.timing-source", "sample");
  fluid_settings_setint(parts->settings, "synth.lock-memory", 0);
  parts->synth = new_fluid_synth(parts->settings);
  if (parts->synth == nullptr) return nullptr;
  bool font = false;
  for (const char* soundFont : kSoundFonts) {
    if (QFile::exists(QString::fromUtf8(soundFont)) &&
        fluid_synth_sfload(parts->synth, soundFont, 1) != FLUID_FAILED) {
      font = true;
      break;
    }
  }
  if (!font) return nullptr;
  parts->player = new_fluid_player(parts->synth);
  if (parts->player == nullptr || fluid_player_add(parts->player, path.constData()) != FLUID_OK ||
      fluid_player_play(parts->player) != FLUID_OK)
    return nullptr;
  std::unique_ptr<MidiRender> render(new MidiRender);
  render->parts_ = std::move(parts);
  return render;
}

MidiRender::~MidiRender() = default;

int MidiRender::Render(char* out, int frames) {
  if (frames <= 0 || fluid_player_get_status(parts_->player) == FLUID_PLAYER_DONE) return 0;
  if (fluid_synth_write_s16(parts_->synth, frames, out, 0, 2, out, 1, 2) != FLUID_OK) return 0;
  return frames;
}

MidiStream::MidiStream(std::unique_ptr<MidiRender> render, QObject* parent)
    : QIODevice(parent), render_(std::move(render)) {}

qint64 MidiStream::readData(char* data, qint64 maxSize) {
  if (ended_) return 0;
  constexpr qint64 kMaxFrames = 8192;
  const qint64 frames = std::min(maxSize / MidiRender::kBytesPerFrame, kMaxFrames);
  const int written = render_->Render(data, static_cast<int>(frames));
  if (written == 0 && frames > 0) ended_ = true;
  return static_cast<qint64>(written) * MidiRender::kBytesPerFrame;
}

}  // namespace platform::os::detail
