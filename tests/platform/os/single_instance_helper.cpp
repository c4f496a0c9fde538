// A minimal program around SingleInstance for the two-process tests. It prints "first",
// "another", "noanswer" or "failed"; a first copy then prints "shown" for every request to show itself
// and runs until its standard input closes.
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

#include "platform/os/paths.h"
#include "platform/os/single_instance.h"

namespace {
void Say(const char* word) {
  std::printf("%s\n", word);
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  platform::os::SingleInstance instance(platform::os::ProgramDirectory());
  instance.SetShowRequestHandler([] { Say("shown"); });
  switch (instance.Acquire()) {
    case platform::os::SingleInstance::Result::AnotherCopy: Say("another"); return 0;
    case platform::os::SingleInstance::Result::NoAnswer: Say("noanswer"); return 0;
    case platform::os::SingleInstance::Result::Failed: Say("failed"); return 1;
    case platform::os::SingleInstance::Result::First: break;
  }
  Say("first");
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char buffer[64];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) QCoreApplication::quit();
  });
  // Never outlive a test that forgot this copy.
  QTimer::singleShot(60000, &app, &QCoreApplication::quit);
  return app.exec();
}
