// snapshot <WindowName[:variant][@menu] | template.json> <out.png>
// Draws a window offscreen as its template and its registered set-up (if any) lay it out,
// painted with the built-in skin. "Name:variant" loads the template Name and runs the set-up
// registered under the whole text (a window shown in another state). "...@menu" draws the
// window's pop-up menu of that name instead, as it pops up over the set-up window.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files/files.h"
#include "platform/text/text.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "setup_hooks.h"

namespace {

std::unique_ptr<platform::ui::Window> LoadWindow(const std::string& what) {
  const bool isFile = what.size() > 5 && what.compare(what.size() - 5, 5, ".json") == 0;
  if (!isFile) return platform::ui::Window::Load(what.substr(0, what.find(':')));
  const auto json = platform::files::ReadAll(what);
  if (!json) throw platform::ui::TemplateError("cannot read " + platform::text::ToUtf8(what));
  std::string name = platform::files::BaseName(what);
  name.resize(name.size() - 5);
  return platform::ui::Window::FromJson(*json, name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: snapshot <WindowName | template.json> <out.png>\n");
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::ui::StartApplication(argc, argv);
  int rc = 0;
  try {
    if (!snapshot::PrepareProgramState()) std::fprintf(stderr, "snapshot: no built-in skin\n");
    snapshot::RegisterProgramWindows();
    // Arguments come as UTF-8, where '@' is never part of a character; the layer speaks
    // GB18030.
    const std::string asked = argv[1];
    const std::size_t at = asked.find('@');
    const std::string what = platform::text::FromUtf8(asked.substr(0, at));
    const std::string menu = at == std::string::npos ? std::string() : platform::text::FromUtf8(asked.substr(at + 1));
    auto window = LoadWindow(what);
    const std::string setup = what.find(':') != std::string::npos ? what : window->Name();
    const auto& hooks = snapshot::SetupHooks();
    if (auto it = hooks.find(setup); it != hooks.end()) it->second(*window);
    window->Open(false);
    const std::string png =
        menu.empty() ? window->SnapshotPng() : window->UnitAs<platform::ui::Menu>(menu).SnapshotPng();
    if (!platform::files::WriteAll(platform::text::FromUtf8(argv[2]), png)) {
      std::fprintf(stderr, "snapshot: cannot write %s\n", argv[2]);
      rc = 1;
    }
  } catch (const platform::ui::TemplateError& e) {
    std::fprintf(stderr, "snapshot: %s\n", e.what());
    rc = 1;
  }
  platform::ui::StopApplication();
  return rc;
}
