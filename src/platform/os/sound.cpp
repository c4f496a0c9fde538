#include "platform/os/sound.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QString>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/os/sound_file_reader.h"
#include "platform/os/sound_module/sound_module.h"
#include "platform/text/text.h"

namespace platform::os {

namespace {

// The sound module's entry points, once it has been loaded.
struct SoundModule {
  decltype(&workmemo_sound_play_mp3) playMp3 = nullptr;
  decltype(&workmemo_sound_play_other) playOther = nullptr;
  decltype(&workmemo_sound_stop) stop = nullptr;
  decltype(&workmemo_sound_decoded_milliseconds) decodedMilliseconds = nullptr;
};

SoundModule* g_module = nullptr;

// Loaded on the first sound and kept: the players it makes live as long as the application
// object. Null, and said once, when it cannot be loaded: the program goes on without sound.
SoundModule* LoadSoundModule() {
  static bool tried = false;
  if (tried) return g_module;
  tried = true;
  void* library = ::dlopen(WORKMEMO_SOUND_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "workmemo: no sound: %s\n", ::dlerror());
    return nullptr;
  }
  static SoundModule module;
  module.playMp3 = reinterpret_cast<decltype(module.playMp3)>(::dlsym(library, "workmemo_sound_play_mp3"));
  module.playOther = reinterpret_cast<decltype(module.playOther)>(::dlsym(library, "workmemo_sound_play_other"));
  module.stop = reinterpret_cast<decltype(module.stop)>(::dlsym(library, "workmemo_sound_stop"));
  module.decodedMilliseconds = reinterpret_cast<decltype(module.decodedMilliseconds)>(
      ::dlsym(library, "workmemo_sound_decoded_milliseconds"));
  if (!module.playMp3 || !module.playOther || !module.stop || !module.decodedMilliseconds) {
    std::fprintf(stderr, "workmemo: no sound: %s lacks an entry point\n", WORKMEMO_SOUND_MODULE);
    return nullptr;
  }
  g_module = &module;
  return g_module;
}

std::string Utf8(std::string_view path) { return platform::text::ToUtf8(path); }

// The desktop's players: the module's, loaded with the first sound that plays. Nothing plays
// before it is loaded: a stop does not load it.
ReadingSoundBackend g_desktop({
    [](const std::string& bytes) {
      if (SoundModule* m = LoadSoundModule()) m->playMp3(bytes.data(), static_cast<long long>(bytes.size()));
    },
    [](const std::string& bytes, bool midi) {
      if (SoundModule* m = LoadSoundModule())
        m->playOther(bytes.data(), static_cast<long long>(bytes.size()), midi ? 1 : 0);
    },
    [] {
      if (g_module != nullptr) g_module->stop();
    },
});
SoundBackend* g_backend = nullptr;

}  // namespace

// Requests to each player are numbered; a file plays when its bytes come unless a stop came
// after it, or a later request that has already played: a slow read never ends a sound
// asked for later. A file that cannot be read ends nothing.
struct ReadingSoundBackend::State {
  struct Numbers {
    unsigned long long requested = 0, started = 0, stopped = 0;
  };
  Players players;
  Numbers numbers[2];
};

ReadingSoundBackend::ReadingSoundBackend(Players players) : state_(std::make_shared<State>()) {
  state_->players = std::move(players);
}

void ReadingSoundBackend::PlayMp3(const std::string& path) {
  Request(0, path, [](const Players& players, const std::string& bytes) { players.mp3(bytes); });
}

void ReadingSoundBackend::PlayOther(const std::string& path) {
  const bool midi = IsMidiFile(path);
  Request(1, path, [midi](const Players& players, const std::string& bytes) { players.other(bytes, midi); });
}

void ReadingSoundBackend::Stop() {
  for (State::Numbers& n : state_->numbers) n.stopped = n.requested;
  state_->players.stop();
}

void ReadingSoundBackend::Request(int player, const std::string& path,
                                  std::function<void(const Players&, const std::string&)> play) {
  const unsigned long long number = ++state_->numbers[player].requested;
  // The state, not the backend: a read may come back after a test's backend is gone.
  ReadSoundFileAside(path, [state = state_, player, number, play = std::move(play)](std::optional<std::string> bytes) {
    State::Numbers& n = state->numbers[player];
    if (!bytes || number <= n.stopped || number < n.started) return;
    n.started = number;
    play(state->players, *bytes);
  });
}

SoundBackend& CurrentSoundBackend() { return g_backend != nullptr ? *g_backend : g_desktop; }
void SetSoundBackend(SoundBackend* backend) { g_backend = backend; }

void PlayMp3File(std::string_view path) { CurrentSoundBackend().PlayMp3(std::string(path)); }
void PlaySoundFile(std::string_view path) { CurrentSoundBackend().PlayOther(std::string(path)); }
void StopSoundPlayback() { CurrentSoundBackend().Stop(); }

bool IsMidiFile(std::string_view path) {
  const QString suffix = QFileInfo(QString::fromStdString(Utf8(path))).suffix().toLower();
  return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") ||
         suffix == QLatin1String("rmi") || suffix == QLatin1String("kar");
}

long long DecodedSoundMilliseconds(std::string_view path, int timeoutMs) {
  SoundModule* m = LoadSoundModule();
  const std::optional<std::string> bytes = ReadSoundFile(path);
  if (m == nullptr || !bytes) return -1;
  return m->decodedMilliseconds(bytes->data(), static_cast<long long>(bytes->size()), IsMidiFile(path) ? 1 : 0,
                                timeoutMs);
}

}  // namespace platform::os
