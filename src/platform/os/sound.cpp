#include "platform/os/sound.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QString>
#include <cstdio>

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

class DesktopSoundBackend : public SoundBackend {
 public:
  void PlayMp3(const std::string& path) override {
    if (SoundModule* m = LoadSoundModule()) m->playMp3(Utf8(path).c_str());
  }
  void PlayOther(const std::string& path) override {
    if (SoundModule* m = LoadSoundModule()) m->playOther(Utf8(path).c_str(), IsMidiFile(path) ? 1 : 0);
  }
  // Nothing plays before the module is loaded: a stop does not load it.
  void Stop() override {
    if (g_module != nullptr) g_module->stop();
  }
};

DesktopSoundBackend g_desktop;
SoundBackend* g_backend = nullptr;

}  // namespace

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
  if (m == nullptr) return -1;
  return m->decodedMilliseconds(Utf8(path).c_str(), IsMidiFile(path) ? 1 : 0, timeoutMs);
}

}  // namespace platform::os
