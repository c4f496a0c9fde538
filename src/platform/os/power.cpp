#include "platform/os/power.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QString>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform::os {

namespace {

constexpr int kCallTimeoutMs = 5000;

struct DBusCall {
  const char* service;
  const char* path;
  const char* interface;
  const char* method;
  QVariantList arguments;
};

bool IsSessionTask(PowerRequest request) {
  return request == PowerRequest::Shutdown || request == PowerRequest::Restart ||
         request == PowerRequest::LogOff;
}

// What the desktop's backend would ask for, as the dry run reports it.
std::string Plan(PowerRequest request, bool force) {
  switch (request) {
    case PowerRequest::Shutdown:
      return force ? "logind PowerOff" : "session manager shutdown, else logind PowerOff";
    case PowerRequest::Restart:
      return force ? "logind Reboot" : "session manager reboot, else logind Reboot";
    case PowerRequest::LogOff:
      return force ? "logind TerminateSession" : "session manager logout, else logind TerminateSession";
    case PowerRequest::LockScreen: return "logind Session.Lock";
    case PowerRequest::MonitorOff: return "xset dpms force off";
  }
  return {};
}

void WriteDryRunLine(PowerRequest request, bool force) {
  std::string line = std::string("workmemo power dry run: ") + PowerRequestName(request);
  if (IsSessionTask(request)) line += force ? " (forced)" : " (not forced)";
  line += ": would ask " + Plan(request, force) + "\n";
  const char* logPath = std::getenv("WORKMEMO_POWER_LOG");
  if (logPath != nullptr && *logPath != '\0') {
    if (std::FILE* f = std::fopen(logPath, "a")) {
      std::fputs(line.c_str(), f);
      std::fclose(f);
      return;
    }
  }
  std::fputs(line.c_str(), stderr);
}

// One method call; true when it came back without an error.
bool Call(const QDBusConnection& bus, const DBusCall& c) {
  QDBusMessage message = QDBusMessage::createMethodCall(
      QString::fromLatin1(c.service), QString::fromLatin1(c.path), QString::fromLatin1(c.interface),
      QString::fromLatin1(c.method));
  message.setArguments(c.arguments);
  const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

// Session managers let the session's programs save before the session ends. Each is
// asked only when its name is on the bus, so none is started just to be asked.
bool AskSessionManager(PowerRequest request) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  const char* gnome = "org.gnome.SessionManager";
  const char* kde = "org.kde.ksmserver";
  const char* xfce = "org.xfce.SessionManager";
  // The ksmserver shutdown types: 0 log out, 1 reboot, 2 halt; confirm 0, mode default -1.
  int kdeType = 0;
  const char* gnomeMethod = "Logout";
  const char* xfceMethod = "Logout";
  QVariantList gnomeArgs{QVariant::fromValue(1u)};  // Logout mode 1: without a dialog
  QVariantList xfceArgs{false, true};                // no dialog, allow saving
  if (request == PowerRequest::Shutdown) {
    kdeType = 2;
    gnomeMethod = "Shutdown";
    xfceMethod = "Shutdown";
    gnomeArgs = {};
    xfceArgs = {true};
  } else if (request == PowerRequest::Restart) {
    kdeType = 1;
    gnomeMethod = "Reboot";
    xfceMethod = "Restart";
    gnomeArgs = {};
    xfceArgs = {true};
  }
  const DBusCall calls[] = {
      {gnome, "/org/gnome/SessionManager", gnome, gnomeMethod, gnomeArgs},
      {kde, "/KSMServer", "org.kde.KSMServerInterface", "logout", {0, kdeType, -1}},
      {xfce, "/org/xfce/SessionManager", "org.xfce.Session.Manager", xfceMethod, xfceArgs},
  };
  for (const DBusCall& c : calls) {
    if (!bus.interface()->isServiceRegistered(QString::fromLatin1(c.service)).value()) continue;
    if (Call(bus, c)) return true;
  }
  return false;
}

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
// logind resolves this path to the caller's own session.
constexpr const char* kOwnSessionPath = "/org/freedesktop/login1/session/auto";
constexpr const char* kLogindSession = "org.freedesktop.login1.Session";

std::string OwnSessionId(const QDBusConnection& bus) {
  QDBusMessage message = QDBusMessage::createMethodCall(
      QString::fromLatin1(kLogind), QString::fromLatin1(kOwnSessionPath),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  message << QString::fromLatin1(kLogindSession) << QStringLiteral("Id");
  const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
    const QString id = reply.arguments().first().value<QDBusVariant>().variant().toString();
    if (!id.isEmpty()) return id.toStdString();
  }
  const char* env = std::getenv("XDG_SESSION_ID");
  return env != nullptr ? std::string(env) : std::string();
}

// Not interactive when forced: no authentication prompt, and logind goes past the
// inhibitor locks when the user is allowed to.
bool AskLogind(PowerRequest request, bool force) {
  const QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return false;
  const bool interactive = !force;
  switch (request) {
    case PowerRequest::Shutdown:
      return Call(bus, {kLogind, kLogindPath, kLogindManager, "PowerOff", {interactive}});
    case PowerRequest::Restart:
      return Call(bus, {kLogind, kLogindPath, kLogindManager, "Reboot", {interactive}});
    case PowerRequest::LogOff: {
      const std::string id = OwnSessionId(bus);
      if (id.empty()) return false;
      return Call(bus, {kLogind, kLogindPath, kLogindManager, "TerminateSession",
                        {QString::fromStdString(id)}});
    }
    case PowerRequest::LockScreen:
      return Call(bus, {kLogind, kOwnSessionPath, kLogindSession, "Lock", {}});
    case PowerRequest::MonitorOff: return false;
  }
  return false;
}

bool TurnMonitorOff() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return false;
  return QProcess::startDetached(QStringLiteral("xset"),
                                 {QStringLiteral("dpms"), QStringLiteral("force"), QStringLiteral("off")});
}

class DesktopPowerBackend : public PowerBackend {
 public:
  bool Perform(PowerRequest request, bool force) override {
    // Checked before anything else on every call: tests and CI must never reach the machine.
    if (PowerDryRun()) {
      WriteDryRunLine(request, force);
      return true;
    }
    switch (request) {
      case PowerRequest::Shutdown:
      case PowerRequest::Restart:
      case PowerRequest::LogOff:
        if (!force && AskSessionManager(request)) return true;
        return AskLogind(request, force);
      case PowerRequest::LockScreen: return AskLogind(request, false);
      case PowerRequest::MonitorOff: return TurnMonitorOff();
    }
    return false;
  }
};

DesktopPowerBackend g_desktop;
PowerBackend* g_backend = nullptr;

}  // namespace

const char* PowerRequestName(PowerRequest request) {
  switch (request) {
    case PowerRequest::Shutdown: return "shutdown";
    case PowerRequest::Restart: return "restart";
    case PowerRequest::LogOff: return "log off";
    case PowerRequest::LockScreen: return "lock screen";
    case PowerRequest::MonitorOff: return "monitor off";
  }
  return "?";
}

bool PowerDryRun() {
  const char* value = std::getenv("WORKMEMO_POWER_DRY_RUN");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

PowerBackend& CurrentPowerBackend() { return g_backend != nullptr ? *g_backend : g_desktop; }
void SetPowerBackend(PowerBackend* backend) { g_backend = backend; }

bool RecordingPowerBackend::Perform(PowerRequest request, bool force) {
  calls.push_back({request, force});
  return succeed;
}

}  // namespace platform::os
