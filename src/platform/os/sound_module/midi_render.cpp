#include "platform/os/sound_module/midi_render.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <QFile>

namespace platform::os::detail {

namespace {

// The synthesizer and some thirty libraries it brings (audio servers, window systems, a
// database) are loaded when the first MIDI file plays, not with the program: most runs never
// play one, and every run would hold them in memory.
struct FluidSynth {
#define WORKMEMO_FLUID_FUNCTIONS(X)                                                               \
  X(fluid_set_log_function) X(new_fluid_settings) X(fluid_settings_setnum)                        \
  X(fluid_settings_setstr) X(fluid_settings_setint) X(new_fluid_synth) X(fluid_synth_sfload)      \
  X(new_fluid_player) X(fluid_player_add_mem) X(fluid_player_play) X(fluid_player_get_status)     \
  X(fluid_synth_write_s16) X(fluid_player_stop) X(delete_fluid_player) X(delete_fluid_synth)      \
  X(delete_fluid_settings)
#define WORKMEMO_FLUID_POINTER(name) decltype(&::name) name = nullptr;
  WORKMEMO_FLUID_FUNCTIONS(WORKMEMO_FLUID_POINTER)
#undef WORKMEMO_FLUID_POINTER
  bool loaded = false;
};

// Every function, or none: a library that lacks one is not used at all.
const FluidSynth& Fluid() {
  static const FluidSynth fluid = [] {
    FluidSynth f;
    void* library = ::dlopen(WORKMEMO_FLUIDSYNTH_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return f;
    bool all = true;
#define WORKMEMO_FLUID_RESOLVE(name)                                       \
  f.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
  all = all && f.name != nullptr;
    WORKMEMO_FLUID_FUNCTIONS(WORKMEMO_FLUID_RESOLVE)
#undef WORKMEMO_FLUID_RESOLVE
    f.loaded = all;
    return f;
  }();
  return fluid;
}
#undef WORKMEMO_FLUID_FUNCTIONS

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
      Fluid().fluid_set_log_function(level, nullptr, nullptr);
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
    const FluidSynth& f = Fluid();
    if (player != nullptr) {
      f.fluid_player_stop(player);
      f.delete_fluid_player(player);
    }
    if (synth != nullptr) f.delete_fluid_synth(synth);
    if (settings != nullptr) f.delete_fluid_settings(settings);
  }
};

std::unique_ptr<MidiRender> MidiRender::Open(const QByteArray& bytes) {
  const FluidSynth& f = Fluid();
  if (!f.loaded) return nullptr;
  SilenceLog();
  // What the synthesiser's own test of a MIDI file looks for.
  if (!bytes.startsWith("MThd")) return nullptr;
  auto parts = std::make_unique<Parts>();
  parts->settings = f.new_fluid_settings();
  if (parts->settings == nullptr) return nullptr;
  f.fluid_settings_setnum(parts->settings, "synth.sample-rate", kSampleRate);
  // The player follows the sound rendered, not the wall clock: reads drive the music.
  f.fluid_settings_setstr(parts->settings, "player.timing-source", "sample");
  f.fluid_settings_setint(parts->settings, "synth.lock-memory", 0);
  parts->synth = f.new_fluid_synth(parts->settings);
  if (parts->synth == nullptr) return nullptr;
  bool font = false;
  for (const char* soundFont : kSoundFonts) {
    if (QFile::exists(QString::fromUtf8(soundFont)) &&
        f.fluid_synth_sfload(parts->synth, soundFont, 1) != FLUID_FAILED) {
      font = true;
      break;
    }
  }
  if (!font) return nullptr;
  parts->player = f.new_fluid_player(parts->synth);
  if (parts->player == nullptr ||
      f.fluid_player_add_mem(parts->player, bytes.constData(), static_cast<size_t>(bytes.size())) != FLUID_OK ||
      f.fluid_player_play(parts->player) != FLUID_OK)
    return nullptr;
  std::unique_ptr<MidiRender> render(new MidiRender);
  render->parts_ = std::move(parts);
  return render;
}

MidiRender::~MidiRender() = default;

int MidiRender::Render(char* out, int frames) {
  const FluidSynth& f = Fluid();
  if (frames <= 0 || f.fluid_player_get_status(parts_->player) == FLUID_PLAYER_DONE) return 0;
  if (f.fluid_synth_write_s16(parts_->synth, frames, out, 0, 2, out, 1, 2) != FLUID_OK) return 0;
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
